#include "mayascene/names.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <unordered_map>

namespace mayascene {

namespace {

struct TypeLink {
  const char* type;
  const char* base;
};

// Maya's node hierarchy for the types that the analysis and the asset gatherers list
// (nodeType -inherited). Plug-in types appear where their base decides what `ls -type` answers.
constexpr TypeLink kTypes[] = {
    {"dagNode", "entity"},
    {"transform", "dagNode"},
    {"joint", "transform"},
    {"ikHandle", "transform"},
    {"place3dTexture", "transform"},
    {"lodGroup", "transform"},
    {"xgmPalette", "transform"},
    {"shape", "dagNode"},
    {"camera", "shape"},
    {"stereoRigCamera", "camera"},
    {"locator", "shape"},
    {"imagePlane", "shape"},
    {"geometryShape", "shape"},
    {"deformableShape", "geometryShape"},
    {"controlPoint", "deformableShape"},
    {"surfaceShape", "controlPoint"},
    {"mesh", "surfaceShape"},
    {"nurbsSurface", "surfaceShape"},
    {"subdiv", "surfaceShape"},
    {"fluidShape", "surfaceShape"},
    {"gpuCache", "surfaceShape"},
    {"aiStandIn", "surfaceShape"},
    {"aiVolume", "surfaceShape"},
    {"xgmDescription", "surfaceShape"},
    {"pgYetiMaya", "surfaceShape"},
    {"VRayProxy", "surfaceShape"},
    {"RedshiftVolumeShape", "surfaceShape"},
    {"curveShape", "controlPoint"},
    {"nurbsCurve", "curveShape"},
    {"particle", "deformableShape"},
    {"nParticle", "particle"},
    {"light", "shape"},
    {"renderLight", "light"},
    {"ambientLight", "renderLight"},
    {"nonAmbientLightShapeNode", "renderLight"},
    {"nonExtendedLightShapeNode", "nonAmbientLightShapeNode"},
    {"directionalLight", "nonExtendedLightShapeNode"},
    {"pointLight", "nonExtendedLightShapeNode"},
    {"spotLight", "nonExtendedLightShapeNode"},
    {"areaLight", "nonExtendedLightShapeNode"},
    {"volumeLight", "pointLight"},
    {"aiSkyDomeLight", "locator"},
    {"aiAreaLight", "locator"},
    {"aiPhotometricLight", "locator"},
    {"aiMeshLight", "locator"},
    {"RedshiftPhysicalLight", "locator"},
    {"RedshiftDomeLight", "locator"},
    {"RedshiftIESLight", "locator"},
    {"VRayLightDomeShape", "locator"},
    {"VRayLightRectShape", "locator"},
    {"VRayLightIESShape", "locator"},
    {"PxrDomeLight", "locator"},
    {"PxrRectLight", "locator"},
    {"texture2d", "shadingDependNode"},
    {"file", "texture2d"},
    {"psdFileTex", "file"},
    {"movie", "file"},
    {"bulge", "texture2d"},
    {"checker", "texture2d"},
    {"cloth", "texture2d"},
    {"fractal", "texture2d"},
    {"grid", "texture2d"},
    {"mountain", "texture2d"},
    {"noise", "texture2d"},
    {"ramp", "texture2d"},
    {"water", "texture2d"},
    {"texture3d", "shadingDependNode"},
    {"brownian", "texture3d"},
    {"cloud", "texture3d"},
    {"crater", "texture3d"},
    {"granite", "texture3d"},
    {"leather", "texture3d"},
    {"marble", "texture3d"},
    {"rock", "texture3d"},
    {"snow", "texture3d"},
    {"solidFractal", "texture3d"},
    {"stucco", "texture3d"},
    {"wood", "texture3d"},
    {"volumeNoise", "texture3d"},
    {"textureEnv", "shadingDependNode"},
    {"envBall", "textureEnv"},
    {"envChrome", "textureEnv"},
    {"envCube", "textureEnv"},
    {"envSky", "textureEnv"},
    {"envSphere", "textureEnv"},
    {"lambert", "shadingDependNode"},
    {"reflect", "lambert"},
    {"blinn", "reflect"},
    {"phong", "reflect"},
    {"phongE", "reflect"},
    {"anisotropic", "reflect"},
    {"surfaceShader", "shadingDependNode"},
    {"objectSet", "entity"},
    {"shadingEngine", "objectSet"},
};

using D = AttributeInfo::Default;

// Attributes the command layer is asked for, with Maya's default value when the file sets none.
// Derived node types inherit the entries of their bases.
constexpr AttributeInfo kAttributes[] = {
    {"", "message", "msg", D::None, 0, nullptr},  // every node
    {"", "caching", "cch", D::Bool, 0, nullptr},
    {"", "nodeState", "nds", D::Int, 0, nullptr},
    {"", "isHistoricallyInteresting", "ihi", D::Int, 2, nullptr},
    {"dagNode", "visibility", "v", D::Bool, 1, nullptr},
    {"dagNode", "intermediateObject", "io", D::Bool, 0, nullptr},
    {"dagNode", "template", "tmp", D::Bool, 0, nullptr},
    {"dagNode", "instObjGroups", "iog", D::None, 0, nullptr},
    {"dagNode", "objectGroups", "og", D::None, 0, nullptr},
    {"dagNode", "objectGrpCompList", "gcl", D::None, 0, nullptr},
    {"dagNode", "renderLayerInfo", "rlio", D::None, 0, nullptr},
    {"dagNode", "renderLayerId", "rli", D::Int, 0, nullptr},
    {"transform", "translate", "t", D::Double3, 0, nullptr},
    {"transform", "translateX", "tx", D::Double, 0, nullptr},
    {"transform", "translateY", "ty", D::Double, 0, nullptr},
    {"transform", "translateZ", "tz", D::Double, 0, nullptr},
    {"transform", "rotate", "r", D::Double3, 0, nullptr},
    {"transform", "rotateX", "rx", D::Double, 0, nullptr},
    {"transform", "rotateY", "ry", D::Double, 0, nullptr},
    {"transform", "rotateZ", "rz", D::Double, 0, nullptr},
    {"transform", "scale", "s", D::Double3, 1, nullptr},
    {"transform", "scaleX", "sx", D::Double, 1, nullptr},
    {"transform", "scaleY", "sy", D::Double, 1, nullptr},
    {"transform", "scaleZ", "sz", D::Double, 1, nullptr},
    {"transform", "rotateOrder", "ro", D::Int, 0, nullptr},
    {"transform", "inheritsTransform", "it", D::Bool, 1, nullptr},
    {"camera", "renderable", "rnd", D::Bool, 1, nullptr},
    {"camera", "orthographic", "o", D::Bool, 0, nullptr},
    {"camera", "orthographicWidth", "ow", D::Double, 30, nullptr},
    {"camera", "focalLength", "fl", D::Double, 35, nullptr},
    {"camera", "nearClipPlane", "ncp", D::Double, 0.1, nullptr},
    {"camera", "farClipPlane", "fcp", D::Double, 10000, nullptr},
    {"camera", "centerOfInterest", "coi", D::Double, 5, nullptr},
    {"camera", "image", "img", D::Bool, 1, nullptr},
    {"camera", "mask", "ma", D::Bool, 1, nullptr},
    {"camera", "depth", "dep", D::Bool, 0, nullptr},
    {"camera", "imageName", "imn", D::String, 0, ""},
    {"camera", "depthName", "den", D::String, 0, "depth"},
    {"camera", "maskName", "man", D::String, 0, "mask"},
    {"renderGlobals", "currentRenderer", "ren", D::String, 0, "mayaSoftware"},
    {"renderGlobals", "imageFilePrefix", "ifp", D::Null, 0, nullptr},
    {"renderGlobals", "imageFormat", "outf", D::Int, 7, nullptr},
    {"renderGlobals", "imfPluginKey", "imfkey", D::Null, 0, nullptr},
    {"renderGlobals", "outFormatExt", "oft", D::Null, 0, nullptr},
    {"renderGlobals", "outFormatControl", "ofc", D::Int, 0, nullptr},
    {"renderGlobals", "animation", "an", D::Bool, 0, nullptr},
    {"renderGlobals", "startFrame", "fs", D::Double, 1, nullptr},
    {"renderGlobals", "endFrame", "ef", D::Double, 10, nullptr},
    {"renderGlobals", "byFrameStep", "bfs", D::Double, 1, nullptr},
    {"renderGlobals", "extensionPadding", "pad", D::Int, 1, nullptr},
    {"renderGlobals", "putFrameBeforeExt", "pff", D::Bool, 0, nullptr},
    {"renderGlobals", "periodInExt", "peie", D::Int, 1, nullptr},
    {"renderGlobals", "preMel", "prm", D::Null, 0, nullptr},
    {"renderGlobals", "postMel", "pom", D::Null, 0, nullptr},
    {"renderGlobals", "preRenderLayerMel", "prlm", D::Null, 0, nullptr},
    {"renderGlobals", "postRenderLayerMel", "polm", D::Null, 0, nullptr},
    {"renderGlobals", "preRenderMel", "prem", D::Null, 0, nullptr},
    {"renderGlobals", "postRenderMel", "posm", D::Null, 0, nullptr},
    {"resolution", "width", "w", D::Int, 640, nullptr},
    {"resolution", "height", "h", D::Int, 480, nullptr},
    {"resolution", "deviceAspectRatio", "dar", D::Double, 1.3333300352096558, nullptr},
    {"resolution", "pixelAspect", "pa", D::Double, 1, nullptr},
    {"renderLayer", "renderable", "rndr", D::Bool, 1, nullptr},
    {"renderLayer", "global", "g", D::Bool, 0, nullptr},
    {"renderLayer", "displayOrder", "do", D::Int, 0, nullptr},
    {"renderLayer", "identification", "rlid", D::Int, 0, nullptr},
    {"renderLayer", "adjustments", "adjs", D::None, 0, nullptr},
    {"renderLayer", "plug", "plg", D::None, 0, nullptr},
    {"renderLayer", "value", "val", D::None, 0, nullptr},
    {"renderLayerManager", "currentRenderLayer", "crl", D::Int, 0, nullptr},
    {"renderLayerManager", "renderLayerId", "rlmi", D::None, 0, nullptr},
    {"renderSetupLayer", "legacyRenderLayer", "lrl", D::None, 0, nullptr},
    {"file", "fileTextureName", "ftn", D::String, 0, ""},
    {"file", "fileTextureNamePattern", "ftnp", D::String, 0, ""},
    {"file", "computedFileTextureNamePattern", "cftnp", D::String, 0, ""},
    {"file", "uvTilingMode", "uvt", D::Int, 0, nullptr},
    {"file", "useFrameExtension", "ufe", D::Bool, 0, nullptr},
    {"file", "frameExtension", "fe", D::Int, 1, nullptr},
    {"file", "frameOffset", "fo", D::Int, 0, nullptr},
    {"file", "colorSpace", "cs", D::String, 0, "sRGB"},
    {"file", "ignoreColorSpaceFileRules", "ifr", D::Bool, 0, nullptr},
    {"file", "outColor", "oc", D::None, 0, nullptr},
    {"file", "uvCoord", "uv", D::None, 0, nullptr},
    {"place2dTexture", "outUV", "o", D::None, 0, nullptr},
    {"objectSet", "dagSetMembers", "dsm", D::None, 0, nullptr},
    {"shadingEngine", "surfaceShader", "ss", D::None, 0, nullptr},
    {"shadingEngine", "volumeShader", "vs", D::None, 0, nullptr},
    {"shadingEngine", "displacementShader", "ds", D::None, 0, nullptr},
    {"defaultTextureList", "textures", "tx", D::None, 0, nullptr},
    {"script", "before", "b", D::String, 0, ""},
    {"script", "after", "a", D::String, 0, ""},
    {"script", "scriptType", "st", D::Int, 0, nullptr},
    {"script", "sourceType", "stp", D::Int, 0, nullptr},
    {"reference", "fileNames", "fn", D::None, 0, nullptr},
    {"reference", "placeHolderList", "phl", D::None, 0, nullptr},
    {"reference", "edits", "ed", D::None, 0, nullptr},
    {"aiAOV", "name", "aovn", D::String, 0, ""},
    {"aiAOV", "type", "aovt", D::Int, 5, nullptr},
    {"aiAOV", "enabled", "enabled", D::Bool, 1, nullptr},
    {"aiAOV", "denoise", "den", D::Bool, 0, nullptr},
    {"aiAOV", "lightPathExpression", "lpe", D::String, 0, ""},
    {"aiOptions", "denoiseBeauty", "opdenb", D::Bool, 0, nullptr},
    {"aiOptions", "outputVarianceAOVs", "varaovs", D::Bool, 0, nullptr},
    {"aiOptions", "imagers", "imagers", D::None, 0, nullptr},
    {"aiOptions", "aovs", "aovs", D::None, 0, nullptr},
    {"aiOptions", "renderDevice", "renderDevice", D::Int, 0, nullptr},
    {"VRaySettingsNode", "productionEngine", "productionEngine", D::Int, 0, nullptr},
    {"VRaySettingsNode", "imageFormatStr", "imgfs", D::String, 0, "png"},
    {"RedshiftOptions", "imageFormat", "imageFormat", D::Int, 1, nullptr},
    {"AlembicNode", "abc_File", "fn", D::String, 0, ""},
    {"AlembicNode", "abc_FileNames", "fns", D::None, 0, nullptr},
    {"gpuCache", "cacheFileName", "cfn", D::String, 0, ""},
    {"gpuCache", "cacheGeomPath", "cmp", D::String, 0, ""},
    {"audio", "filename", "f", D::String, 0, ""},
    {"audio", "offset", "o", D::Double, 0, nullptr},
    {"imagePlane", "imageName", "imn", D::String, 0, ""},
    {"imagePlane", "useFrameExtension", "ufe", D::Bool, 0, nullptr},
    {"imagePlane", "frameExtension", "fe", D::Int, 1, nullptr},
    {"imagePlane", "type", "t", D::Int, 0, nullptr},
    {"aiImage", "filename", "filename", D::String, 0, ""},
    {"aiStandIn", "dso", "dso", D::String, 0, ""},
    {"aiStandIn", "useFrameExtension", "useFrameExtension", D::Bool, 0, nullptr},
    {"aiStandIn", "frameNumber", "frameNumber", D::Double, 0, nullptr},
    {"aiVolume", "filename", "filename", D::String, 0, ""},
    {"RedshiftProxyMesh", "fileName", "fn", D::String, 0, ""},
    {"PxrTexture", "filename", "filename", D::String, 0, ""},
    {"xgmPalette", "xgFileName", "xfn", D::String, 0, ""},
    {"xgmPalette", "xgBaseFile", "xbf", D::String, 0, ""},
};

// The tables by name, built once: the command layer asks for a name on every setAttr and plug.
struct Tables {
  std::unordered_map<std::string_view, const TypeLink*> types;
  std::unordered_map<std::string_view, std::vector<const AttributeInfo*>> attributes;  // long and short names

  Tables() {
    for (const TypeLink& link : kTypes) types.emplace(link.type, &link);
    for (const AttributeInfo& info : kAttributes) {
      attributes[info.long_name].push_back(&info);
      if (std::string_view(info.short_name) != info.long_name) attributes[info.short_name].push_back(&info);
    }
  }
};

const Tables& tables() {
  static const Tables built;
  return built;
}

const TypeLink* find_type(std::string_view type) {
  const auto& types = tables().types;
  const auto found = types.find(type);
  return found == types.end() ? nullptr : found->second;
}

bool equal_ignoring_case(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

std::string_view base_type(std::string_view type) {
  const TypeLink* link = find_type(type);
  return link != nullptr ? std::string_view(link->base) : std::string_view();
}

bool inherits(std::string_view type, std::string_view base) {
  // The table is a tree; the depth bound only guards against a mistaken edit making a cycle.
  for (int depth = 0; depth < 32 && !type.empty(); ++depth) {
    if (type == base) return true;
    type = base_type(type);
  }
  return false;
}

std::vector<std::string> type_ancestry(std::string_view type) {
  std::vector<std::string> chain;
  for (int depth = 0; depth < 32 && !type.empty(); ++depth) {
    chain.emplace_back(type);
    type = base_type(type);
  }
  return chain;
}

const AttributeInfo* find_attribute(std::string_view type, std::string_view name) {
  const auto& attributes = tables().attributes;
  const auto found = attributes.find(name);
  if (found == attributes.end()) return nullptr;
  // In table order, as the table is written: the first entry the node's type has wins.
  for (const AttributeInfo* info : found->second) {
    if (info->type[0] == '\0' || inherits(type, info->type)) return info;
  }
  return nullptr;
}

bool default_value(const AttributeInfo& info, Value* out) {
  switch (info.kind) {
    case D::None:
    case D::Null: return false;
    case D::Bool: *out = Value::boolean(info.number != 0); return true;
    case D::Int: *out = Value::integer(static_cast<std::int64_t>(info.number)); return true;
    case D::Double: *out = Value::real(info.number); return true;
    case D::String: *out = Value::string(info.text); return true;
    case D::Double3: {
      Value tuple;
      tuple.kind = Value::Kind::Tuple;
      tuple.items.assign(3, Value::real(info.number));
      *out = tuple;
      return true;
    }
  }
  return false;
}

std::string canonical_path(std::string_view type, std::string_view path,
                           const DynamicAttributes& dynamic) {
  std::string out;
  out.reserve(path.size() + 16);
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t dot = path.find('.', start);
    // A '.' inside brackets cannot occur in Maya plugs, so the first '.' ends the component.
    if (dot == std::string_view::npos) dot = path.size();
    const std::string_view component = path.substr(start, dot - start);
    const std::size_t bracket = component.find('[');
    const std::string_view name = component.substr(0, bracket);
    const std::string_view rest = bracket == std::string_view::npos ? std::string_view() : component.substr(bracket);
    if (start != 0) out.push_back('.');
    if (const DynamicAttribute* dyn = dynamic.find(name)) {
      out += dyn->long_name.empty() ? dyn->short_name : dyn->long_name;
    } else if (const AttributeInfo* info = find_attribute(type, name)) {
      out += info->long_name;
    } else {
      out += name;
    }
    out += rest;
    start = dot + 1;
  }
  return out;
}

std::string codec_for_codeset(std::string_view codeset) {
  if (codeset.empty() || equal_ignoring_case(codeset, "UTF-8") || equal_ignoring_case(codeset, "UTF8") ||
      codeset == "65001") {
    return "utf-8";
  }
  if (codeset == "936" || equal_ignoring_case(codeset, "GBK") || equal_ignoring_case(codeset, "GB2312")) {
    return "gbk";
  }
  if (codeset == "54936" || equal_ignoring_case(codeset, "GB18030")) return "gb18030";
  if (equal_ignoring_case(codeset, "ANSI_X3.4-1968") || equal_ignoring_case(codeset, "US-ASCII")) return "ascii";
  if (std::all_of(codeset.begin(), codeset.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return "cp" + std::string(codeset);  // Windows code pages: 1252, 1251, 949, 932 ...
  }
  std::string lowered(codeset);
  for (char& c : lowered) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lowered;  // ISO-8859-1, EUC-JP ...: Python knows these names
}

DoubleByteEncoding double_byte_encoding(std::string_view codeset) {
  static constexpr std::string_view kGbkOrBig5[] = {"gbk", "gb18030", "cp936", "cp950", "big5", "big5hkscs", "big5-hkscs"};
  static constexpr std::string_view kShiftJis[] = {"cp932", "shift_jis", "shift-jis", "sjis", "ms932", "windows-31j"};
  const std::string codec = codec_for_codeset(codeset);
  for (std::string_view name : kGbkOrBig5) {
    if (codec == name) return DoubleByteEncoding::GbkOrBig5;
  }
  for (std::string_view name : kShiftJis) {
    if (codec == name) return DoubleByteEncoding::ShiftJis;
  }
  return DoubleByteEncoding::None;
}

}  // namespace mayascene
