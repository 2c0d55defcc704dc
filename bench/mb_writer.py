"""Writes Maya Binary (.mb) files: the IFF container of both forms and the chunks of a scene.

Used to generate the project's .mb fixtures (offline/fixtures/mb) and the large scenes of the
benchmarks. Runs on Python 2.7 and 3.x.

    python bench/mb_writer.py fixtures DIR      # the fixtures, as committed
    python bench/mb_writer.py big PATH SIZE_MB  # a scene of about SIZE_MB, mostly mesh data

As a module:

    form = Form(wide=True)                       # FOR8 (Maya 2014 and later); wide=False: FOR4
    scene = form.scene(header=form.head("2024"), nodes=[form.node("XFRM", "grp")], connections=[])
    with Writer(path, form) as out:              # streams groups of any size; sizes patched at close
        out.add(form.head("2024"))
        for block in blocks: out.add(block)

Layout: a chunk is a four-character id and a big-endian size (32 bits after the id in FOR4; in
FOR8, four unused bytes and 64 bits), then the data; a leaf's data is padded with zeros to a
multiple of 4 (FOR4) or 8 (FOR8) counted from its own start; a group's data is its four-character
type and its chunks, and no padding follows it.
"""
from __future__ import print_function

import os
import struct
import sys

CREA_SHARED, CREA_DAG, CREA_TRANSFORM, CREA_LOCKED, CREA_NO_PARENT = 0x01, 0x04, 0x08, 0x10, 0x80
VALUE_FLAGS = 0x20  # set on nearly every value chunk Maya writes
TICKS_PER_SECOND = 141120000  # TDUR of Maya 2018 and later


def _bytes(text):
    return text if isinstance(text, bytes) else text.encode("utf-8")


def z(text):
    """A NUL-terminated text."""
    return _bytes(text) + b"\0"


def type_id(type_tag):
    """A node group's type: a four-character tag ("XFRM") or a plug-in's numeric id."""
    return struct.pack(">I", type_tag) if isinstance(type_tag, int) else _bytes(type_tag)


class Form(object):
    def __init__(self, wide=True):
        self.wide = wide
        self.align = 8 if wide else 4

    def header(self, chunk_id, size):
        if self.wide:
            return _bytes(chunk_id) + b"\0\0\0\0" + struct.pack(">Q", size)
        return _bytes(chunk_id) + struct.pack(">I", size)

    def leaf(self, chunk_id, data):
        data = _bytes(data)
        return self.header(chunk_id, len(data)) + data + b"\0" * ((self.align - len(data) % self.align) % self.align)

    def group(self, group_type, children, kind="FOR"):
        body = _bytes(group_type) + b"".join(children)
        return self.header(kind + ("8" if self.wide else "4"), len(body)) + body

    # -- the header ----------------------------------------------------------------------------
    def head(self, version, linear="cm", time="film", angle="deg", file_info=(), plugins=()):
        """HEAD: VERS ... AUNI, TDUR from 2018, fileInfo pairs, plugins as (name, version, [(type, id)])."""
        chunks = [self.leaf("VERS", version), self.leaf("UVER", "undef"), self.leaf("MADE", "undef"),
                  self.leaf("CHNG", "Thu, Jan 16, 2025 10:00:00 AM"), self.leaf("ICON", "undef"),
                  self.leaf("INFO", "undef"), self.leaf("OBJN", "undef"), self.leaf("INCL", "undef("),
                  self.leaf("LUNI", linear), self.leaf("TUNI", time), self.leaf("AUNI", angle)]
        if self.wide and version[:4] >= "2018":
            chunks.append(self.leaf("TDUR", str(TICKS_PER_SECOND)))
        for key, value in file_info:
            chunks.append(self.leaf("FINF", z(key) + z(value)))
        for name, plugin_version, types in plugins:
            data = z(name) + z(plugin_version)
            if self.wide:
                data += z("".join(' -nodeType "%s"' % t for t, _ in types))
                for type_name, number in types:
                    data += z(type_name) + struct.pack(">I", number)
            chunks.append(self.leaf("PLUG", data))
        return self.group("HEAD", chunks)

    def reference(self, path, namespace, reference_node, depth=None, deferred=False, options="v=0;",
                  file_type="mayaAscii"):
        """FRDI (with a depth: `file -rdi`) or FREF (`file -r`)."""
        flags = struct.pack(">BB", 1, 1 if deferred else 0)
        if depth is None:
            data = z(path) + z(namespace) + flags + z(reference_node) + b"\0" * 8 + z(options) + z(file_type)
            return self.group("FREF", [self.leaf("FREF", data + b"\0" * 11)])
        data = (struct.pack(">I", depth) + z(path) + z(namespace) + flags + z(reference_node) + b"\0" * 3 +
                z(options) + z(file_type))
        return self.group("FRDI", [self.leaf("FRDI", data + b"\0" * 2)])

    # -- nodes ----------------------------------------------------------------------------------
    def node(self, type_tag, name, parent=None, flags=0, uuid=None, chunks=()):
        """A node group: CREA (flags, name, parent, 16 UUID bytes), then its chunks."""
        if parent is None and self.wide:
            flags |= CREA_NO_PARENT
        data = struct.pack(">B", flags) + z(name) + (z(parent) if parent is not None else b"") + (uuid or b"")
        return self.group(type_id(type_tag), [self.leaf("CREA", data)] + list(chunks))

    def select(self, name, chunks=()):
        """select -ne :name, then the node's value chunks."""
        return self.group("SLCT", [self.leaf("SLCT", ":" + name)] + list(chunks))

    def value(self, chunk_id, attribute, payload, flags=VALUE_FLAGS):
        return self.leaf(chunk_id, z(attribute) + struct.pack(">B", flags) + payload)

    def string(self, attribute, text):
        return self.value("STR ", attribute, z(text))

    def strings(self, attribute, texts):
        return self.value("STR#", attribute, struct.pack(">I", len(texts)) + b"".join(z(t) for t in texts))

    def number(self, attribute, *numbers):
        return self.value("DBLE", attribute, b"".join(struct.pack(">d", n) for n in numbers))

    def double3(self, attribute, x, y, z_):
        return self.value("DBL3", attribute, struct.pack(">ddd", x, y, z_))

    def frames(self, attribute, frames, fps=24):
        """A time value: 64-bit ticks at TDUR a second (FOR8 files of 2018 and later), else 32-bit at 6000."""
        if self.wide:
            return self.value("DBLE", attribute, struct.pack(">q", int(round(frames * TICKS_PER_SECOND / fps))))
        return self.value("DBLE", attribute, struct.pack(">i", int(round(frames * 6000 / fps))))

    def size(self, attribute, count):
        """setAttr -s N: a FLGS chunk whose flag 0x08 announces a count."""
        return self.value("FLGS", attribute, struct.pack(">I", count), VALUE_FLAGS | 0x08)

    def add_string_attribute(self, long_name, short_name):
        """addAttr -dt "string"."""
        return self.leaf("ATTR", b"aTYP" + struct.pack(">II", 0x00F80040, 1) + b"STR " + z(long_name) + z(short_name) +
                         b"\0" * 4)

    def add_number_attribute(self, kind, long_name, short_name, default=None):
        """addAttr -at bool/long/double (kind aBOL, aLI1, aDBL), with its default value."""
        flags = 0x00F80040 | (0x08 if default is not None else 0)
        data = _bytes(kind) + struct.pack(">III", flags, 1, 0) + z(long_name) + z(short_name) + b"\0" * 4
        if default is not None:
            data += b"DBLE" + struct.pack(">d", default)
        return self.leaf("ATTR", data)

    def reference_edits(self, owner, groups):
        """REFE "ed": groups as (reference node, [(code, [fields])]); code 5 edits put the sub-code first."""
        data = z("ed") + struct.pack(">B", VALUE_FLAGS) + z(owner) + struct.pack(">I", len(groups))
        for reference_node, edits in groups:
            data += z(reference_node) + struct.pack(">I", len(edits))
            for code, fields in edits:
                data += struct.pack(">I", code)
                if code == 5:
                    data += struct.pack(">I", int(fields[0]))
                    fields = fields[1:]
                data += b"".join(z(f) for f in fields)
        return self.leaf("REFE", data)

    def blob(self, chunk_id, size, seed=0):
        """Opaque bulk data (MESH, NRBC ...) of `size` bytes."""
        pattern = bytes(bytearray((seed + i * 7) & 0xFF for i in range(256)))
        return self.leaf(chunk_id, (pattern * (size // 256 + 1))[:size])

    # -- connections ------------------------------------------------------------------------------
    def connections(self, connections, relationships=()):
        """connections as (source, destination, next_available); relationships as (kind, node, plugs)."""
        leaves = [self.leaf("CWFL", struct.pack(">B", 1 if na else 0) + z(s) + z(d)) for s, d, na in connections]
        for kind, node, plugs in relationships:
            leaves.append(self.leaf("RELA", z(kind) + z(node) + struct.pack(">I", len(plugs)) +
                                    b"".join(z(p) for p in plugs)))
        return self.group("CONS", [self.group("CONN", leaves)], kind="LIS")

    def scene(self, chunks):
        return self.group("Maya", chunks)


class Writer(object):
    """A file whose top group is written as its chunks come; its size is filled in at close."""

    def __init__(self, path, form):
        self.form = form
        self.out = open(path, "wb")
        self.out.write(form.header("FOR8" if form.wide else "FOR4", 0) + b"Maya")
        self.size = 4

    def add(self, chunk):
        self.out.write(chunk)
        self.size += len(chunk)

    def close(self):
        self.out.seek(8 if self.form.wide else 4)
        self.out.write(struct.pack(">Q" if self.form.wide else ">I", self.size))
        self.out.close()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()


# ---- the fixtures ----------------------------------------------------------------------------------
MTOA = ("mtoa", "5.4.2.1", [("aiOptions", 0x00115C00), ("aiAOVDriver", 0x00115C03), ("aiAOVFilter", 0x00115C04),
                             ("aiImage", 0x00115C8B)])
RENDER_SETUP = ("renderSetup.py", "1.0", [("renderSetup", 0x58000371), ("renderSetupLayer", 0x58000372),
                                          ("collection", 0x58000373)])


def arnold_shot(form):
    """A Maya 2024 shot: Arnold, a legacy and a render setup layer, cameras, textures, a script,
    a reference and its edits, a mesh passed over unread, and a UTF-8 path."""
    f = form
    uuid = b"\x58\x64\x97\x59\x5e\x01\xcb\x43\xb0\x0f\x48\xd6\x9e\xf0\x1f\x22"
    return [
        f.head("2024", time="film", file_info=[("application", "maya"), ("product", "Maya 2024"), ("version", "2024"),
                                               ("osv", "Windows 10 (Build 19045)\\n")],
               plugins=[MTOA, RENDER_SETUP, ("stereoCamera", "10.0", [])]),
        f.reference("C:/show/assets/prop/prop.ma", "prop", "propRN", depth=1),
        f.reference("C:/show/assets/set/set.mb", "set", "setRN", depth=1, deferred=True, file_type="mayaBinary"),
        f.reference("C:/show/assets/prop/prop.ma", "prop", "propRN"),
        f.reference("C:/show/assets/set/set.mb", "set", "setRN", deferred=True, file_type="mayaBinary"),
        f.node("XFRM", "persp", flags=CREA_SHARED | CREA_DAG | CREA_TRANSFORM, uuid=uuid,
               chunks=[f.number("v", 0), f.double3("t", 28, 21, 28)]),
        f.node("DCAM", "perspShape", "persp", flags=CREA_SHARED | CREA_DAG, chunks=[f.number("fl", 35)]),
        f.node("XFRM", "shots", flags=CREA_DAG | CREA_TRANSFORM),
        f.node("XFRM", "renderCam", "shots", flags=CREA_DAG | CREA_TRANSFORM,
               chunks=[f.double3("r", -0.5235987755982988, 0.7853981633974483, 0)]),
        f.node("DCAM", "renderCamShape", "|shots|renderCam", flags=CREA_DAG, chunks=[f.number("rnd", 1)]),
        f.node("XFRM", "ground", "shots", flags=CREA_DAG | CREA_TRANSFORM),
        f.node("DMSH", "groundShape", "ground", flags=CREA_DAG,
               chunks=[f.string("uvst[0].uvsn", "map1"), f.blob("MESH", 4000, 3), f.size("pt", 4)]),
        f.node("RTFT", "absTex", chunks=[f.string("ftn", "C:/show/textures/brick_diffuse.png"), f.string("cs", "sRGB")]),
        f.node("RTFT", "udimTex", chunks=[f.string("ftn", "textures/skin.<UDIM>.exr"), f.number("uvt", 3)]),
        f.node("RTFT", "treeTex", chunks=[f.string("ftn", u"textures/b\u00e4ume.png")]),
        f.node(0x00115C8B, "aiImage1", chunks=[f.string("filename", "${SHOW}/textures/sky.tx")]),
        f.node("RPL2", "place2dTexture1"),
        f.node("SCRP", "pyScript", chunks=[f.add_string_attribute("noteText", "nt"),
                                           f.add_number_attribute("aBOL", "enabled", "en", 1),
                                           f.string("b", "import maya.cmds as cmds\nprint('opened')\n"),
                                           f.number("st", 1), f.number("stp", 1), f.string("nt", "hello"),
                                           f.number("en", 0)]),
        f.node(0x00115C00, "defaultArnoldRenderOptions", flags=CREA_SHARED, chunks=[f.number("AA_samples", 3)]),
        f.node("RNLM", "renderLayerManager", chunks=[f.number("crl", 1), f.value("DBLE", "rlmi[1:2]", b"".join(
            struct.pack(">d", n) for n in (1, 2)))]),
        f.node("RNDL", "defaultRenderLayer", chunks=[f.number("g", 1)]),
        f.node("RNDL", "beauty", chunks=[f.number("do", 1)]),
        f.node("RNDL", "rs_layerA", chunks=[f.number("rndr", 0)]),
        f.node(0x58000371, "renderSetup"),
        f.node(0x58000372, "layerA"),
        f.node("REFN", "propRN", flags=CREA_LOCKED, chunks=[
            f.reference_edits("propRN", [("propRN", []), ("propRN", [
                (2, ["prop:file1", "fileTextureName", ' -type "string" "C:/show/textures/prop_v2.png"']),
                (5, ["4", "propRN", "|prop:root.translateX", "propRN.placeHolderList[1]", ""])])])]),
        f.node("REFN", "setRN", flags=CREA_LOCKED),
        f.select("defaultRenderGlobals", [f.string("ren", "arnold"), f.frames("fs", 1), f.frames("ef", 48),
                                          f.string("ifp", "<Scene>/<RenderLayer>/<Camera>"), f.string("imfkey", "exr")]),
        f.select("defaultResolution", [f.number("w", 1920), f.number("h", 1080)]),
        f.select("time1", [f.frames("o", 12)]),
        f.connections([("place2dTexture1.o", "absTex.uv", False), ("absTex.msg", ":defaultTextureList1.tx", True),
                       ("udimTex.msg", ":defaultTextureList1.tx", True),
                       ("renderLayerManager.rlmi[0]", "defaultRenderLayer.rlid", False),
                       ("renderLayerManager.rlmi[1]", "beauty.rlid", False),
                       ("renderLayerManager.rlmi[2]", "rs_layerA.rlid", False), ("rs_layerA.msg", "layerA.lrl", False),
                       ("propRN.phl[1]", "shots.tx", False)],
                      [("link", ":lightLinker1", [":initialShadingGroup.message", ":defaultLightSet.message"])]),
        f.group("HEAD", [f.leaf("OBJN", "40"), f.leaf("INCL", "C:/show/assets/prop/prop.ma(C:/show/assets/set/set.mb(")]),
    ]


def legacy_scene(form):
    """A Maya 2012 scene (FOR4): mental ray, 32-bit time ticks, a path in a Windows code page."""
    f = form
    return [
        f.head("2012", time="pal", file_info=[("application", "maya"), ("product", "Maya 2012")],
               plugins=[("Mayatomr", "2012.0m - 3.9.1.26 ", [])]),
        f.node("XFRM", "camera1", flags=CREA_DAG | CREA_TRANSFORM),
        f.node("DCAM", "cameraShape1", "camera1", flags=CREA_DAG, chunks=[f.number("rnd", 1)]),
        f.node("RTFT", "file1", chunks=[f.value("STR ", "ftn", b"D:/textures/caf\xe9.tga\0")]),
        f.node(0x00102E42, "miDefaultOptions", flags=CREA_SHARED),
        f.node("SCRP", "sceneConfigurationScriptNode", chunks=[f.string("b", "playbackOptions -min 1 -max 50 ;"),
                                                               f.number("st", 6)]),
        f.select("defaultRenderGlobals", [f.string("ren", "mentalRay"), f.frames("ef", 50, fps=25)]),
        f.connections([("file1.msg", ":defaultTextureList1.tx", True)]),
    ]


def write_fixtures(folder):
    for name, form, chunks in (("arnold_shot_2024.mb", Form(wide=True), arnold_shot),
                               ("legacy_mentalray_2012.mb", Form(wide=False), legacy_scene)):
        with open(os.path.join(folder, name), "wb") as out:
            out.write(form.scene(chunks(form)))


# ---- a large scene ---------------------------------------------------------------------------------
def write_big(path, size, mesh_bytes=4 << 20):
    """About `size` bytes: a shot header, then meshes of `mesh_bytes` each, with textures and connections."""
    form = Form(wide=True)
    meshes = 0
    with Writer(path, form) as out:
        out.add(form.head("2025ff03", plugins=[MTOA]))
        out.add(form.select("defaultRenderGlobals", [form.string("ren", "arnold")]))
        while out.size < size:
            name = "mesh%d" % meshes
            out.add(form.node("XFRM", name, flags=CREA_DAG | CREA_TRANSFORM, chunks=[form.double3("t", meshes, 0, 0)]))
            out.add(form.node("DMSH", name + "Shape", name, flags=CREA_DAG,
                              chunks=[form.string("uvst[0].uvsn", "map1"), form.blob("MESH", mesh_bytes, meshes)]))
            out.add(form.node("RTFT", "tex%d" % meshes, chunks=[form.string("ftn", "textures/t%d.png" % meshes)]))
            meshes += 1
        out.add(form.connections([("tex%d.msg" % i, ":defaultTextureList1.tx", True) for i in range(meshes)]))
    return meshes


def main(argv):
    if len(argv) == 3 and argv[1] == "fixtures":
        write_fixtures(argv[2])
    elif len(argv) == 4 and argv[1] == "big":
        print(write_big(argv[2], int(argv[3]) << 20), "meshes")
    else:
        print(__doc__.split("\n\n")[1], file=sys.stderr)
        return 64
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
