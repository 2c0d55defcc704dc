"""Offline stand-in for Maya's Python package: only `maya.cmds`, answered from a scene file."""
