"""Test double of the service's asset module: settings, layers, gatherers, configuration."""
import scenario

assMode = 0
SeekAllAss = 0
maxPoolSize = 1
mulitThreads = 0


def reset_settings():
    global assMode, SeekAllAss, maxPoolSize, mulitThreads
    assMode, SeekAllAss, maxPoolSize, mulitThreads = 0, 0, 1, 0


def getEnvDict(GetRSCache):
    scenario.current.record_call("vfile.getEnvDict", (GetRSCache,), {})
    return list(scenario.current.env_list)


class GetLayersInfo(object):
    def __init__(self):
        scenario.current.record_call("vfile.GetLayersInfo", (), {})

    def getLayersInfo(self, layers):
        scenario.current.record_call("vfile.GetLayersInfo.getLayersInfo", (layers,), {})
        for record in scenario.current.layers:
            layers.append(dict(record))
        if scenario.current.layer_failure is not None:
            raise scenario.current.layer_failure


def _gather(name, args):
    scenario.current.record_call("vfile." + name, args, {})
    group = scenario.current.asset_groups.get(name, scenario.AssetGroup())
    if isinstance(group, BaseException):
        raise group
    return group


def getAssets(sceneName):
    return _gather("getAssets", (sceneName,))


def getArnoldAssets():
    return _gather("getArnoldAssets", ())


def getRedShiftAssets(GetRSCache):
    return _gather("getRedShiftAssets", (GetRSCache,))


def getVRayAssets():
    return _gather("getVRayAssets", ())


def getRenerManAssets():
    return _gather("getRenerManAssets", ())


def getEvaluation():
    scenario.current.record_call("vfile.getEvaluation", (), {})
    if isinstance(scenario.current.evaluation, BaseException):
        raise scenario.current.evaluation
    return scenario.current.evaluation


def getIniConfiger(section, key):
    scenario.current.record_call("vfile.getIniConfiger", (section, key), {})
    answer = scenario.current.ini
    if answer is None:
        raise IOError("no configuration file")
    if isinstance(answer, BaseException):
        raise answer
    return answer
