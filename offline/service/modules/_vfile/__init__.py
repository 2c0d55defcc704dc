"""The inner parts of the offline vfile module, one concern each; only vfile imports them."""
