# -*- coding: utf-8 -*-
"""File references as Maya loads them when a scene is opened."""
