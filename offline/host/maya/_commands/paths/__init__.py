# -*- coding: utf-8 -*-
"""Maya's path rules on a farm node: variables, directory mappings, the project, the disk."""
