"""Test double of the service's utilities."""
import scenario


def getRealDiskPath(path):
    scenario.current.record_call("vutils.getRealDiskPath", (path,), {})
    convert = scenario.current.real_disk_path
    return path if convert is None else convert(path)


def isPluginExist(name):
    scenario.current.record_call("vutils.isPluginExist", (name,), {})
    return name in scenario.current.existing_plugins
