# -*- coding: utf-8 -*-
"""Asset gathering, render-layer records, settings and configuration of the
offline service, over the ``maya.cmds`` command layer.

The work is done by the modules beside this one, one concern each:
  scene_queries      what the host answers about the open scene
  disk_view          the run's view of the disk: each folder listed at most once
  path_text          text rules of paths (variables, Windows spellings, the // marker)
  path_resolution    where each path is found: as written, dirmap, the project's places
  folder_plans       those places worked out once per written folder, for its many names
  file_patterns      tile and frame patterns, expanded against the disk
  asset_references   the paths the nodes name, with their tiles and frames
  scene_references   the files of the scene's references, at every depth
  asset_gatherers    the per-renderer tables of file attributes and the gatherers
  render_layers      the render-layer records
  job_settings       environment, evaluation mode and the service configuration
This module is the one the analyzer imports: it holds the settings and the
names the analyzer calls.

Settings the analyzer writes before gathering:
  assMode      1: also read Arnold .ass stand-in files (plain or gzip) and
               gather the files they name (``filename`` and ``dso``)
  SeekAllAss   1: every frame of a sequence found on disk, not only the
               frames the render needs
  maxPoolSize, mulitThreads
               with mulitThreads 1 and a pool above 1, disk lookups run on
               that many threads
"""
from __future__ import print_function

from _vfile import asset_gatherers
from _vfile.file_patterns import AssetGroup
from _vfile.job_settings import getEnvDict, getEvaluation, getIniConfiger
from _vfile.render_layers import GetLayersInfo

__all__ = ["assMode", "SeekAllAss", "maxPoolSize", "mulitThreads", "AssetGroup", "GetLayersInfo", "getAssets",
           "getArnoldAssets", "getRedShiftAssets", "getVRayAssets", "getRenerManAssets", "getEnvDict",
           "getEvaluation", "getIniConfiger"]

assMode = 0
SeekAllAss = 0
maxPoolSize = 1
mulitThreads = 0


def _settings():
    # read on every call: the analyzer assigns the settings as this module's attributes
    return asset_gatherers.GatherSettings(assMode, SeekAllAss, maxPoolSize, mulitThreads)


def getAssets(scenePath):
    """Files of Maya's own nodes and the scene's references."""
    return asset_gatherers.scene_assets(scenePath, _settings())


def getArnoldAssets():
    return asset_gatherers.arnold_assets(_settings())


def getRedShiftAssets(GetRSCache=0):
    """Redshift's files; with GetRSCache the .rstexbin texture caches beside them too."""
    return asset_gatherers.redshift_assets(_settings(), GetRSCache)


def getVRayAssets():
    return asset_gatherers.vray_assets(_settings())


def getRenerManAssets():
    return asset_gatherers.renderman_assets(_settings())
