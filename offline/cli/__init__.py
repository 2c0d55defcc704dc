"""vanalyzer-offline: analyse a Maya ASCII scene from the command line."""
