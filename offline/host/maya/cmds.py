"""maya.cmds stand-in: answers the commands the analysis uses from a Maya ASCII file read by the
`mayascene` extension module. Runs on Python 2.7 and 3.x; texts are native str on both.

The open scene is process-wide state, as in Maya. A command or flag this stand-in does not know
raises RuntimeError naming it, so a caller never silently gets a made-up answer.
"""
from __future__ import print_function

import fnmatch
import os
import sys

import mayascene

_PY2 = sys.version_info[0] == 2

# Plug-ins that ship with Maya: loadPlugin succeeds for these even when the scene does not list them.
_MAYA_PLUGINS = (
    "sceneAssembly", "gpuCache", "AbcImport", "AbcExport", "AbcBullet", "fbxmaya", "objExport",
    "stereoCamera", "renderSetup", "mtoa", "xgenToolkit", "lookdevKit", "MASH", "Type", "matrixNodes",
    "quatNodes", "modelingToolkit", "mayaHIK", "Turtle", "Unfold3D", "invertShape", "mayaUsdPlugin",
    "bifrostGraph", "OpenEXRLoader", "tiffFloatReader", "ik2Bsolver", "ikSpringSolver", "hairPhysicalShader",
)


def _unsupported_command(name):
    return RuntimeError("maya.cmds stand-in: command '%s' is not supported" % name)


def _native(text):
    if _PY2 and isinstance(text, unicode):  # noqa: F821 (2.7 only)
        return text.encode("utf-8")
    return text


def _flags(command, kwargs, names):
    """Maps long and short flag names to the long one; any other flag raises."""
    out = {}
    for key, value in kwargs.items():
        for long_name, short_name in names:
            if key == long_name or key == short_name:
                out[long_name] = value
                break
        else:
            raise RuntimeError("maya.cmds stand-in: flag '%s' of '%s' is not supported" % (key, command))
    return out


def _no_object(name):
    return ValueError("No object matches name: %s" % name)


def _plugin_key(name):
    base = name
    for ext in (".py", ".so", ".mll", ".bundle", ".pyc"):
        if base.endswith(ext):
            base = base[: -len(ext)]
    return base


class _Scene(object):
    """The reader's data with the indexes the commands need."""

    def __init__(self, path, data):
        self.path = path
        self.data = data
        self.nodes = data["nodes"]
        self.by_name = {}
        self.children = {}
        for index, node in enumerate(self.nodes):
            self.by_name.setdefault(node["name"], []).append(index)
            if node["parent"] is not None:
                self.children.setdefault(node["parent"], []).append(index)
        self._suffixes = None  # partial DAG path -> how many nodes it names
        self._found = {}  # name as asked -> indices of the nodes it matches
        self.loaded_plugins = []
        for plugin, _version, _types, _data_types in data["requires"]:
            if plugin not in self.loaded_plugins:
                self.loaded_plugins.append(plugin)
        self.current_layer = self._initial_layer()

    # -- names -------------------------------------------------------------------------------
    def find(self, name):
        """Index of the node `name` (short name, partial or full DAG path); None when absent."""
        name = _native(name)
        if name.startswith(":"):
            name = name[1:]
        if name not in self._found:
            self._found[name] = self._lookup(name)
        hits = self._found[name]
        if not hits:
            return None
        if len(hits) > 1:
            raise ValueError("More than one object matches name: %s" % name)
        return hits[0]

    def _lookup(self, name):
        if "|" in name:
            if name.startswith("|"):
                hits = [i for i, n in enumerate(self.nodes) if n["path"] == name]
            else:
                hits = [i for i, n in enumerate(self.nodes)
                        if n["path"] and (n["path"].endswith("|" + name))]
        else:
            hits = self.by_name.get(name, [])
        return hits

    def find_quiet(self, name):
        """find() for names read from the file: an ambiguous name matches nothing."""
        try:
            return self.find(name)
        except ValueError:
            return None

    def require(self, name):
        index = self.find(name)
        if index is None:
            raise _no_object(name)
        return index

    def display_name(self, index, long_names=False):
        """Maya's way of naming a node: the shortest unique (partial) path for DAG nodes."""
        node = self.nodes[index]
        path = node["path"]
        if not path:
            return node["name"]
        if long_names:
            return path
        if self._suffixes is None:
            self._suffixes = {}
            for other in self.nodes:
                if other["path"]:
                    parts = other["path"].split("|")[1:]
                    for start in range(len(parts)):
                        suffix = "|".join(parts[start:])
                        self._suffixes[suffix] = self._suffixes.get(suffix, 0) + 1
        parts = path.split("|")[1:]
        for start in range(len(parts) - 1, -1, -1):
            candidate = "|".join(parts[start:])
            if self._suffixes.get(candidate) == 1:
                return candidate
        return path

    def is_type(self, index, wanted):
        node_type = self.nodes[index]["type"]
        return wanted in mayascene.type_ancestry(node_type)

    # -- attributes --------------------------------------------------------------------------
    def split_plug(self, plug):
        plug = _native(plug)
        bar = plug.rfind("|")
        dot = plug.find(".", bar + 1)
        if dot < 0:
            return plug, ""
        return plug[:dot], plug[dot + 1:]

    def resolve(self, index, attr):
        node = self.nodes[index]
        dynamic = [(d[0], d[1]) for d in node["dynamic"]]
        canonical, known, default = mayascene.resolve_attribute(node["type"], attr, dynamic)
        leaf = canonical.split(".")[-1].split("[")[0]
        for short_name, long_name, _type, dyn_default in node["dynamic"]:
            if leaf == long_name:
                return canonical, True, dyn_default
        return canonical, known, default

    def _initial_layer(self):
        manager = self.find("renderLayerManager")
        if manager is None:
            return "defaultRenderLayer"
        attrs = self.nodes[manager]["attrs"]
        wanted = attrs.get("currentRenderLayer", 0)
        index = 0
        while index < 4096:
            key = "renderLayerId[%d]" % index
            if attrs.get(key, 0) == wanted:
                source = "renderLayerManager." + key
                for src, dst in self.data["connections"]:
                    if src == source and dst.endswith(".identification"):
                        layer = self.find_quiet(dst.rsplit(".", 1)[0])
                        if layer is not None:
                            return self.nodes[layer]["name"]
            if key not in attrs and index > 0:
                break
            index += 1
        return "defaultRenderLayer"


_state = {"scene": None}


def _scene():
    scene = _state["scene"]
    if scene is None:
        raise RuntimeError("maya.cmds stand-in: no scene is open")
    return scene


def _current_scene():
    """The open scene for the xgenm stand-in (None when none is open)."""
    return _state["scene"]


def _none_if_empty(items):
    return items if items else None


# ---- commands -------------------------------------------------------------------------------

def file(*args, **kwargs):
    flags = _flags("file", kwargs, (("open", "o"), ("force", "f"), ("query", "q"), ("sceneName", "sn"),
                                    ("shortName", "shn"), ("exists", "ex"), ("reference", "r"),
                                    ("new", "n")))
    if flags.get("query"):
        if flags.get("exists"):
            if not args:
                raise RuntimeError("file: -exists needs a file name")
            return os.path.exists(_native(args[0]))
        if flags.get("sceneName"):
            scene = _state["scene"]
            if scene is None:
                return ""
            return os.path.basename(scene.path) if flags.get("shortName") else scene.path
        if flags.get("reference"):
            scene = _state["scene"]
            if scene is None:
                return []
            refs = scene.data["references"]
            top = [r["path"] for r in refs if r["top_level"]]
            return top if top else [r["path"] for r in refs if r["depth"] == 1]
        raise RuntimeError("maya.cmds stand-in: this query of 'file' is not supported")
    if flags.get("new"):
        _state["scene"] = None
        return "untitled"
    if flags.get("open"):
        if not args:
            raise RuntimeError("file: -open needs a file name")
        path = os.path.abspath(_native(args[0])).replace(os.sep, "/")
        try:
            data = mayascene.load(path)
        except (mayascene.ParseError, IOError, OSError) as error:
            raise RuntimeError(str(error))
        _state["scene"] = _Scene(path, data)
        return path
    raise RuntimeError("maya.cmds stand-in: this use of 'file' is not supported")


def ls(*args, **kwargs):
    flags = _flags("ls", kwargs, (("type", "typ"), ("long", "l")))
    scene = _scene()
    types = flags.get("type")
    if types is not None and not isinstance(types, (list, tuple)):
        types = [types]
    names = []
    for arg in args:
        names.extend(arg if isinstance(arg, (list, tuple)) else [arg])
    result = []
    for index, node in enumerate(scene.nodes):
        if types is not None and not any(scene.is_type(index, t) for t in types):
            continue
        if names and not any(_matches(scene, index, _native(n)) for n in names):
            continue
        result.append(scene.display_name(index, flags.get("long", False)))
    return result


def _matches(scene, index, pattern):
    node = scene.nodes[index]
    if pattern.startswith(":"):
        pattern = pattern[1:]
    if "|" in pattern:
        return node["path"] == pattern or (node["path"] or "").endswith("|" + pattern)
    return fnmatch.fnmatchcase(node["name"], pattern)


def nodeType(node, **kwargs):
    _flags("nodeType", kwargs, ())
    scene = _scene()
    return scene.nodes[scene.require(node)]["type"]


def objExists(name, **kwargs):
    _flags("objExists", kwargs, ())
    scene = _state["scene"]
    if scene is None:
        return False
    node_name, attr = scene.split_plug(name)
    try:
        index = scene.find(node_name)
    except ValueError:
        return True  # several objects match: it exists
    if index is None:
        return False
    return not attr or _attribute_exists(scene, index, attr)


def listRelatives(*args, **kwargs):
    flags = _flags("listRelatives", kwargs, (("parent", "p"), ("children", "c"), ("shapes", "s"),
                                             ("path", "pa"), ("fullPath", "f"), ("type", "typ"),
                                             ("allDescendents", "ad"), ("allParents", "ap")))
    scene = _scene()
    targets = []
    for arg in args:
        targets.extend(arg if isinstance(arg, (list, tuple)) else [arg])
    types = flags.get("type")
    if types is not None and not isinstance(types, (list, tuple)):
        types = [types]
    found = []
    for target in targets:
        index = scene.require(target)
        if flags.get("parent") or flags.get("allParents"):
            parent = scene.nodes[index]["parent"]
            if parent is not None:
                found.append(parent)
            elif scene.nodes[index]["parent_name"]:
                # A parent in a referenced file: only its written name is known.
                parent_name = scene.nodes[index]["parent_name"].lstrip(":")
                if (flags.get("path") or flags.get("fullPath")) and not parent_name.startswith("|"):
                    parent_name = "|" + parent_name
                found.append(parent_name)
            continue
        if flags.get("allDescendents"):
            order = []
            stack = list(scene.children.get(index, []))
            while stack:
                child = stack.pop(0)
                order.append(child)
                stack[0:0] = scene.children.get(child, [])
            found.extend(reversed(order))
        else:
            found.extend(scene.children.get(index, []))
    result = []
    for item in found:
        if not isinstance(item, int):
            result.append(item)
            continue
        if flags.get("shapes") and not _is_shape(scene, item):
            continue
        if types is not None and not any(scene.is_type(item, t) for t in types):
            continue
        if flags.get("path") or flags.get("fullPath"):
            result.append(scene.nodes[item]["path"])
        else:
            result.append(scene.nodes[item]["name"])
    return _none_if_empty(result)


def _is_shape(scene, index):
    ancestry = mayascene.type_ancestry(scene.nodes[index]["type"])
    if "shape" in ancestry:
        return True
    # A plug-in type the table does not know: a leaf under a transform is its shape.
    return len(ancestry) == 1 and not scene.children.get(index)


def _attribute_exists(scene, index, attr):
    canonical, known, _default = scene.resolve(index, attr)
    if known:
        return True
    attrs = scene.nodes[index]["attrs"]
    return canonical in attrs or any(k.startswith(canonical + "[") or k.startswith(canonical + ".")
                                     for k in attrs)


def _python_value(value):
    # Maya answers compound and vector attributes as a list holding one tuple.
    if isinstance(value, tuple):
        return [value]
    if isinstance(value, list):
        return list(value)
    return value


def getAttr(plug, **kwargs):
    flags = _flags("getAttr", kwargs, (("multiIndices", "mi"),))
    scene = _scene()
    node_name, attr = scene.split_plug(plug)
    index = scene.find(node_name)
    if index is None or not attr:
        raise _no_object(plug)
    canonical, known, default = scene.resolve(index, attr)
    attrs = scene.nodes[index]["attrs"]
    if flags.get("multiIndices"):
        indices = set()
        prefix = canonical + "["
        for key in attrs:
            if key.startswith(prefix):
                indices.add(int(key[len(prefix):].split("]")[0]))
        node_prefix = scene.nodes[index]["name"] + "." + prefix
        for source, destination in scene.data["connections"]:
            for connected in (source, destination):
                if connected.startswith(node_prefix):
                    indices.add(int(connected[len(node_prefix):].split("]")[0]))
        return _none_if_empty(sorted(indices))
    if canonical in attrs:
        return _python_value(attrs[canonical])
    if known or _attribute_exists(scene, index, attr):
        return _python_value(default)
    raise _no_object(plug)


def attributeQuery(attr, **kwargs):
    flags = _flags("attributeQuery", kwargs, (("node", "n"), ("exists", "ex")))
    if not flags.get("exists") or "node" not in flags:
        raise RuntimeError("maya.cmds stand-in: attributeQuery supports only -node with -exists")
    scene = _scene()
    index = scene.find(flags["node"])
    if index is None:
        raise _no_object(flags["node"])
    return _attribute_exists(scene, index, _native(attr))


def listConnections(*args, **kwargs):
    flags = _flags("listConnections", kwargs, (("source", "s"), ("destination", "d"), ("plugs", "p"),
                                               ("connections", "c"), ("type", "t")))
    scene = _scene()
    want_sources = flags.get("source", True)
    want_destinations = flags.get("destination", True)
    targets = []
    for arg in args:
        targets.extend(arg if isinstance(arg, (list, tuple)) else [arg])
    result = []
    for target in targets:
        node_name, attr = scene.split_plug(target)
        index = scene.require(node_name)
        canonical = scene.resolve(index, attr)[0] if attr else None
        for source, destination in scene.data["connections"]:
            for mine, other, wanted in ((destination, source, want_sources),
                                        (source, destination, want_destinations)):
                if not wanted:
                    continue
                my_node, my_attr = scene.split_plug(mine)
                if scene.find_quiet(my_node) != index:
                    continue
                if canonical is not None and not (my_attr == canonical or my_attr.startswith(canonical + "[")
                                                  or my_attr.startswith(canonical + ".")):
                    continue
                other_node, other_attr = scene.split_plug(other)
                other_index = scene.find_quiet(other_node)
                if flags.get("type") is not None:
                    if other_index is None or not scene.is_type(other_index, flags["type"]):
                        continue
                other_name = scene.display_name(other_index) if other_index is not None else other_node
                mine_name = scene.display_name(index) + "." + my_attr
                answer = other_name + "." + other_attr if flags.get("plugs") else other_name
                if flags.get("connections"):
                    result.extend([mine_name, answer])
                else:
                    result.append(answer)
    return _none_if_empty(result)


def editRenderLayerGlobals(**kwargs):
    flags = _flags("editRenderLayerGlobals", kwargs, (("query", "q"), ("currentRenderLayer", "crl")))
    scene = _scene()
    if flags.get("query"):
        if flags.get("currentRenderLayer"):
            return scene.current_layer
        raise RuntimeError("maya.cmds stand-in: this query of 'editRenderLayerGlobals' is not supported")
    if "currentRenderLayer" not in flags:
        raise RuntimeError("maya.cmds stand-in: editRenderLayerGlobals needs -currentRenderLayer")
    layer = flags["currentRenderLayer"]
    index = scene.find(layer)
    if index is None or not scene.is_type(index, "renderLayer"):
        raise RuntimeError("editRenderLayerGlobals: '%s' is not a render layer" % layer)
    scene.current_layer = scene.nodes[index]["name"]


def loadPlugin(name, **kwargs):
    _flags("loadPlugin", kwargs, (("quiet", "qt"),))
    scene = _scene()
    key = _plugin_key(_native(name))
    known = [_plugin_key(p) for p in scene.loaded_plugins] + list(_MAYA_PLUGINS)
    if key not in known:
        raise RuntimeError('Plug-in, "%s", was not found on MAYA_PLUG_IN_PATH.' % name)
    if not any(_plugin_key(p) == key for p in scene.loaded_plugins):
        scene.loaded_plugins.append(_native(name))
    return [key]


def unloadPlugin(name, **kwargs):
    _flags("unloadPlugin", kwargs, (("force", "f"),))
    scene = _scene()
    key = _plugin_key(_native(name))
    for plugin in scene.loaded_plugins:
        if _plugin_key(plugin) == key:
            scene.loaded_plugins.remove(plugin)
            return [key]
    raise RuntimeError('Plug-in "%s" is not loaded.' % name)


def pluginInfo(*args, **kwargs):
    flags = _flags("pluginInfo", kwargs, (("query", "q"), ("pluginsInUse", "pu"), ("loaded", "l"),
                                          ("version", "v")))
    scene = _scene()
    if not flags.get("query"):
        raise RuntimeError("maya.cmds stand-in: pluginInfo supports only queries")
    if flags.get("pluginsInUse"):
        result = []
        for plugin, version, _types, _data_types in scene.data["requires"]:
            if plugin not in result[::2]:
                result.extend([plugin, version])
        return result
    if not args:
        raise RuntimeError("maya.cmds stand-in: this query of 'pluginInfo' is not supported")
    key = _plugin_key(_native(args[0]))
    if flags.get("loaded"):
        return any(_plugin_key(p) == key for p in scene.loaded_plugins)
    if flags.get("version"):
        for plugin, version, _types, _data_types in scene.data["requires"]:
            if _plugin_key(plugin) == key:
                return version
        raise RuntimeError('Plug-in "%s" is not loaded.' % args[0])
    raise RuntimeError("maya.cmds stand-in: this query of 'pluginInfo' is not supported")


_COMMANDS = frozenset(["file", "ls", "nodeType", "objExists", "listRelatives", "getAttr", "attributeQuery",
                       "listConnections", "editRenderLayerGlobals", "loadPlugin", "unloadPlugin",
                       "pluginInfo"])


def __getattr__(name):  # any other command named on the module (Python 3.7+)
    if name.startswith("__"):
        raise AttributeError(name)
    raise _unsupported_command(name)


if _PY2:
    import types

    class _CommandModule(types.ModuleType):
        """2.7 has no module __getattr__: a module subclass answers unknown commands instead."""

        def __getattr__(self, name):
            return __getattr__(name)

    _module = _CommandModule(__name__, __doc__)
    _module.__dict__.update(globals())
    _module._original = sys.modules[__name__]  # 2.7 clears a dropped module's globals
    sys.modules[__name__] = _module
