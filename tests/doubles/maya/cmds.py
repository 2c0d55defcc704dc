"""Test double of the host's command layer, answering from the running test's scenario."""
import scenario


def _command(name, args, kwargs):
    world = scenario.current
    world.record_call("py." + name, args, kwargs)
    world.fail_if_asked(name, args)
    return world


def file(*args, **kwargs):
    world = _command("file", args, kwargs)
    if kwargs.get("open"):
        world.open_scenes.append(args[0])
        world.scene_name = args[0]
        return args[0]
    if kwargs.get("q") and kwargs.get("sn"):
        return world.scene_name
    if kwargs.get("q") and kwargs.get("ex"):
        return args[0] in world.existing_scenes
    raise RuntimeError("file: flags not supported by the double: %r" % (kwargs,))


def ls(*args, **kwargs):
    world = _command("ls", args, kwargs)
    return list(world.nodes.get(kwargs.get("type"), []))


def listRelatives(node, **kwargs):
    world = _command("listRelatives", (node,), kwargs)
    answer = world.parents.get(node, ["|" + node + "_parent"])
    if isinstance(answer, BaseException):
        raise answer
    return answer


def getAttr(path, **kwargs):
    world = _command("getAttr", (path,), kwargs)
    if path not in world.attributes:
        raise ValueError("No object matches name: %s" % path)
    value = world.attributes[path]
    if isinstance(value, BaseException):
        raise value
    return value


def editRenderLayerGlobals(**kwargs):
    world = _command("editRenderLayerGlobals", (), kwargs)
    world.current_layer = kwargs["currentRenderLayer"]


def loadPlugin(name, **kwargs):
    _command("loadPlugin", (name,), kwargs)


def unloadPlugin(name, **kwargs):
    _command("unloadPlugin", (name,), kwargs)


def pluginInfo(*args, **kwargs):
    world = _command("pluginInfo", args, kwargs)
    return list(world.plugins_in_use)

