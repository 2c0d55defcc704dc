# -*- coding: utf-8 -*-
"""The commands of the maya.cmds stand-in, one module per concern; maya.cmds names them."""
