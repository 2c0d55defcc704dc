#include "type_ids.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "container.h"

namespace mayascene {
namespace binary {

namespace {

struct Tag {
  const char* tag;
  const char* type;
};

// Built-in node types by tag. Sources: default-named nodes of scenes that create one node of
// every type (Maya 8.5 and 2008, nodes in type order), a rig saved both as .ma and .mb (Maya
// 2019), and the tags established on 133 public files; names checked against Maya's node
// documentation where the default name differs from the type's.
constexpr Tag kBuiltIn[] = {
    {"ABIO", "animBlendInOut"}, {"ABL2", "blendTwoAttr"}, {"ABLW", "blendWeighted"}, {"ABND", "animBlend"},
    {"ADMN", "arcLengthDimension"}, {"AGDN", "angleDimension"}, {"AMBL", "ambientLight"},
    {"ANNS", "annotationShape"}, {"APBL", "pairBlend"}, {"ARLT", "areaLight"}, {"ATHT", "attrHierarchyTest"},
    {"AUDI", "audio"}, {"BCRV", "bezierCurve"}, {"BDDT", "oldBlindDataBase"}, {"BLDT", "blindDataTemplate"},
    {"BLDV", "blendDevice"}, {"BRSH", "brush"}, {"CCHF", "cacheFile"}, {"CHAR", "character"},
    {"CHCE", "choice"}, {"CHOO", "chooser"}, {"CLIP", "clipLibrary"}, {"CLPN", "animClip"},
    {"CMAP", "characterMap"}, {"CNRA", "curveNormalizerAngle"}, {"CNRL", "curveNormalizerLinear"},
    {"CONT", "container"}, {"CPCS", "copyColorSet"}, {"CPOM", "closestPointOnMesh"}, {"CPUS", "copyUVSet"},
    {"CRCS", "createColorSet"}, {"CRUS", "createUVSet"}, {"CSCH", "clipScheduler"}, {"CTRK", "cacheBlend"},
    {"DADL", "addDoubleLinear"}, {"DAGC", "dagContainer"}, {"DAMC", "aimConstraint"}, {"DAMP", "arrayMapper"},
    {"DAMX", "addMatrix"}, {"DCAM", "camera"}, {"DCAV", "cameraView"}, {"DCON", "dynamicConstraint"},
    {"DDBT", "distanceBetween"}, {"DDMN", "distanceDimShape"}, {"DDSC", "directedDisc"},
    {"DECT", "deleteComponent"}, {"DEFL", "defaultLightList"}, {"DEXP", "expression"}, {"DFCN", "facade"},
    {"DFIK", "hikEffector"}, {"DGFI", "geometryFilter"}, {"DGMC", "oldGeometryConstraint"},
    {"DGNC", "geometryConstraint"}, {"DHPV", "hyperView"}, {"DIPL", "imagePlane"}, {"DIRL", "directionalLight"},
    {"DLAT", "lookAt"}, {"DLCS", "deleteColorSet"}, {"DLCT", "dropoffLocator"}, {"DLMS", "deleteUVSet"},
    {"DMDL", "multDoubleLinear"}, {"DMSH", "mesh"}, {"DMTI", "materialInfo"}, {"DMTM", "multMatrix"},
    {"DNC2", "normalConstraint"}, {"DNRC", "oldNormalConstraint"}, {"DOFD", "dof"},
    {"DORC", "orientConstraint"}, {"DPAR", "parentConstraint"}, {"DPHM", "holdMatrix"},
    {"DPLM", "displayLayerManager"}, {"DPMM", "pointMatrixMult"}, {"DPSM", "passMatrix"},
    {"DPTC", "pointConstraint"}, {"DPVC", "poleVectorConstraint"}, {"DRUL", "defaultRenderUtilityList"},
    {"DSCC", "scaleConstraint"}, {"DSKC", "diskCache"}, {"DSPL", "displayLayer"}, {"DTC2", "tangentConstraint"},
    {"DTMU", "timeToUnitConversion"}, {"DTNC", "oldTangentConstraint"}, {"DUNT", "unitConversion"},
    {"DUTM", "unitToTimeConversion"}, {"DWAM", "wtAddMatrix"}, {"DWGF", "weightGeometryFilter"},
    {"ENVF", "environmentFog"}, {"FBAS", "baseLattice"}, {"FBEL", "jointLattice"}, {"FBFM", "fourByFourMatrix"},
    {"FBLS", "blendShape"}, {"FBUL", "boneLattice"}, {"FCCH", "frameCache"}, {"FCLH", "clusterHandle"},
    {"FCLS", "cluster"}, {"FDBD", "deformBend"}, {"FDFL", "deformFlare"}, {"FDSN", "deformSine"},
    {"FDSQ", "deformSquash"}, {"FDTW", "deformTwist"}, {"FDWV", "deformWave"}, {"FEMI", "fluidEmitter"},
    {"FFDB", "jointFfd"}, {"FFFD", "ffd"}, {"FGUI", "guide"}, {"FIBX", "implicitBox"}, {"FICO", "implicitCone"},
    {"FISP", "implicitSphere"}, {"FJCF", "clusterFlexorShape"}, {"FJCL", "jointCluster"}, {"FLAT", "lattice"},
    {"FLOW", "flow"}, {"FLTC", "filterClosestSample"}, {"FLTE", "filterEuler"}, {"FLTR", "filterResample"},
    {"FLTS", "filterSimplify"}, {"FLTT", "fluidTexture2D"}, {"FLTX", "fluidTexture3D"}, {"FLUI", "fluidShape"},
    {"FLXH", "flexorShape"}, {"FMPT", "tweak"}, {"FNLD", "nonLinear"}, {"FPOS", "dagPose"},
    {"FPRN", "fosterParent"}, {"FSCL", "skinCluster"}, {"FSCP", "sculpt"}, {"FSMP", "sampler"},
    {"FSSH", "softModHandle"}, {"FSSL", "softMod"}, {"FWIR", "wire"}, {"FWRP", "wrap"}, {"GBIN", "geomBind"},
    {"GCCL", "globalCacheControl"}, {"GPID", "groupId"}, {"GRPP", "groupParts"}, {"HCRV", "follicle"},
    {"HELI", "polyHelix"}, {"HFCM", "hikFloorContactMarker"}, {"HGND", "hikGroundPlane"},
    {"HISS", "historySwitch"}, {"HPIN", "hairConstraint"}, {"HRRG", "hardwareRenderingGlobals"},
    {"HSYS", "hairSystem"}, {"HWRG", "hardwareRenderGlobals"}, {"HWRM", "hwReflectionMap"},
    {"HYPL", "hyperLayout"}, {"HYPR", "hyperGraphInfo"}, {"JGDF", "jiggle"}, {"JOIN", "joint"},
    {"KEFF", "ikEffector"}, {"KHDL", "ikHandle"}, {"KHIH", "hikHandle"}, {"KRPS", "ikRPsolver"},
    {"KSCS", "ikSCsolver"}, {"KSPS", "ikSplineSolver"}, {"KSYS", "ikSystem"}, {"LLST", "lightList"},
    {"LMOD", "lineModifier"}, {"LOCT", "locator"}, {"LODG", "lodGroup"}, {"LODT", "lodThresholds"},
    {"LYRS", "layeredShader"}, {"LYRT", "layeredTexture"}, {"MBDT", "polyBlindData"},
    {"MISC", "polyPrimitiveMisc"}, {"MPTH", "motionPath"}, {"MULL", "multilisterLight"}, {"MUTE", "mute"},
    {"N2CA", "makeTwoPointCircularArc"}, {"N3CA", "makeThreePointCircularArc"}, {"NABT", "angleBetween"},
    {"NACR", "avgCurves"}, {"NALC", "alignCurve"}, {"NALS", "alignSurface"}, {"NANP", "avgNurbsSurfacePoints"},
    {"NASP", "avgSurfacePoints"}, {"NATC", "attachCurve"}, {"NATS", "attachSurface"},
    {"NBLS", "ffBlendSrfObsolete"}, {"NBLT", "ffBlendSrf"}, {"NBND", "boundary"}, {"NBOL", "boolean"},
    {"NBSV", "bevelPlus"}, {"NBVL", "bevel"}, {"NCCI", "curveIntersect"}, {"NCCU", "closeCurve"},
    {"NCIN", "curveInfo"}, {"NCLO", "nCloth"}, {"NCMC", "curveFromMeshCoM"}, {"NCME", "curveFromMeshEdge"},
    {"NCMP", "nComponent"}, {"NCNE", "makeNurbCone"}, {"NCPS", "closestPointOnSurface"},
    {"NCRC", "makeNurbCircle"}, {"NCRV", "nurbsCurve"}, {"NCSB", "curveFromSurfaceBnd"},
    {"NCSC", "curveFromSurfaceCoS"}, {"NCSI", "curveFromSurfaceIso"}, {"NCSU", "closeSurface"},
    {"NCUB", "makeNurbCube"}, {"NCVG", "curveVarGroup"}, {"NCYL", "makeNurbCylinder"}, {"NDBS", "dpBirailSrf"},
    {"NDTC", "detachCurve"}, {"NDTS", "detachSurface"}, {"NESH", "explodeNurbsShell"}, {"NEXC", "extendCurve"},
    {"NEXR", "extrude"}, {"NEXS", "extendSurface"}, {"NFCR", "filletCurve"}, {"NFFS", "ffFilletSrf"},
    {"NFTC", "fitBspline"}, {"NGEI", "nodeGraphEditorInfo"}, {"NGST", "globalStitch"},
    {"NGVG", "geometryVarGroup"}, {"NHDP", "hardenPoint"}, {"NIKC", "insertKnotCurve"},
    {"NIKS", "insertKnotSurface"}, {"NISF", "intersectSurface"}, {"NLSM", "leastSquaresModifier"},
    {"NMBS", "mpBirailSrf"}, {"NMIC", "makeIllustratorCurves"}, {"NMVG", "meshVarGroup"}, {"NOCS", "offsetCos"},
    {"NOCU", "offsetCurve"}, {"NOSU", "offsetSurface"}, {"NPAR", "nParticle"}, {"NPCI", "pointOnCurveInfo"},
    {"NPCR", "projectCurve"}, {"NPLN", "makeNurbPlane"}, {"NPLT", "planarTrimSurface"},
    {"NPSI", "pointOnSurfaceInfo"}, {"NPTN", "projectTangent"}, {"NRBC", "rebuildCurve"}, {"NRBF", "rbfSrf"},
    {"NRBS", "rebuildSurface"}, {"NRCR", "roundConstantRadius"}, {"NRGD", "nRigid"}, {"NRVC", "reverseCurve"},
    {"NRVL", "revolve"}, {"NRVS", "reverseSurface"}, {"NSBC", "subCurve"}, {"NSBS", "spBirailSrf"},
    {"NSIN", "surfaceInfo"}, {"NSKN", "loft"}, {"NSMC", "smoothCurve"}, {"NSPH", "makeNurbSphere"},
    {"NSQR", "makeNurbsSquare"}, {"NSQS", "squareSrf"}, {"NSRF", "nurbsSurface"},
    {"NSSH", "stitchAsNurbsShell"}, {"NSSR", "subSurface"}, {"NSTC", "styleCurve"},
    {"NSTN", "smoothTangentSrf"}, {"NSTS", "stitchSrf"}, {"NSVG", "surfaceVarGroup"}, {"NSYS", "nucleus"},
    {"NTES", "nurbsTessellate"}, {"NTOR", "makeNurbTorus"}, {"NTRM", "trim"}, {"NTWB", "trimWithBoundaries"},
    {"NTWK", "network"}, {"NTXC", "makeTextCurves"}, {"NUTR", "untrim"}, {"OBST", "objectSet"},
    {"OCPP", "heightField"}, {"OPFX", "opticalFX"}, {"ORTM", "orientationMarker"},
    {"PAMA", "particleAgeMapper"}, {"PAPP", "polyAppend"}, {"PAPV", "polyAppendVertex"},
    {"PAUP", "polyAutoProj"}, {"PAVV", "polyAverageVertex"}, {"PBCS", "blendColorSets"}, {"PBOP", "polyBoolOp"},
    {"PBRE", "polyBridgeEdge"}, {"PBV3", "polyBevel3"}, {"PBVL", "polyBevel"}, {"PCDL", "polyColorDel"},
    {"PCHI", "polyChipOff"}, {"PCLD", "particleCloud"}, {"PCLO", "polyCloseBorder"},
    {"PCMA", "particleColorMapper"}, {"PCMO", "polyColorMod"}, {"PCOE", "polyCollapseEdge"},
    {"PCOF", "polyCollapseF"}, {"PCON", "polyCone"}, {"PCPV", "polyColorPerVertex"}, {"PCRE", "polyCreateFace"},
    {"PCRS", "polyCrease"}, {"PCSE", "polyCreaseEdge"}, {"PCTA", "animCurveTA"}, {"PCTL", "animCurveTL"},
    {"PCTT", "animCurveTT"}, {"PCTU", "animCurveTU"}, {"PCUA", "animCurveUA"}, {"PCUB", "polyCube"},
    {"PCUL", "animCurveUL"}, {"PCUT", "animCurveUT"}, {"PCUU", "animCurveUU"}, {"PCUV", "polyCopyUV"},
    {"PCVB", "polyCBoolOp"}, {"PCYL", "polyCylinder"}, {"PCYP", "polyCylProj"}, {"PDEE", "polyDelEdge"},
    {"PDEF", "polyDelFacet"}, {"PDEV", "polyDelVertex"}, {"PDUE", "polyDuplicateEdge"},
    {"PEXE", "polyExtrudeEdge"}, {"PEXF", "polyExtrudeFace"}, {"PEXV", "polyExtrudeVertex"},
    {"PFHA", "pfxHair"}, {"PFLE", "polyFlipEdge"}, {"PFTO", "pfxToon"}, {"PFUV", "polyFlipUV"},
    {"PIMA", "particleIncandMapper"}, {"PLUV", "polyLayoutUV"}, {"PMAC", "polyMapCut"}, {"PMAD", "polyMapDel"},
    {"PMAS", "polyMapSew"}, {"PMEE", "polyMergeEdge"}, {"PMEF", "polyMergeFace"}, {"PMES", "polyPlane"},
    {"PMFU", "polyMoveFacetUV"}, {"PMGR", "makeGroup"}, {"PMGU", "polyMergeUV"}, {"PMIR", "polyMirror"},
    {"PMOE", "polyMoveEdge"}, {"PMOF", "polyMoveFace"}, {"PMOV", "polyMoveVertex"}, {"PMUV", "polyMoveUV"},
    {"PMVE", "polyMergeVert"}, {"PNOR", "polyNormal"}, {"PNPV", "polyNormalPerVertex"},
    {"PNUV", "polyNormalizeUV"}, {"POIT", "pointLight"}, {"POSM", "positionMarker"}, {"POUV", "polyOptUvs"},
    {"PPCT", "polyCut"}, {"PPIP", "polyPipe"}, {"PPLP", "polyPlanarProj"}, {"PPPK", "polyPoke"},
    {"PPRI", "polyPrism"}, {"PPRO", "polyProj"}, {"PPST", "postProcessList"}, {"PPYR", "polyPyramid"},
    {"PQUA", "polyQuad"}, {"PRED", "polyReduce"}, {"PRTN", "partition"}, {"PSDM", "poseInterpolatorManager"},
    {"PSDS", "polyToSubdiv"}, {"PSDT", "psdFileTex"}, {"PSED", "polySplitEdge"}, {"PSEM", "polyMapSewMove"},
    {"PSEP", "polySeparate"}, {"PSIN", "particleSamplerInfo"}, {"PSMF", "polySmoothFace"},
    {"PSMP", "polySmoothProxy"}, {"PSMT", "polySmooth"}, {"PSOE", "polySoftEdge"}, {"PSPH", "polySphere"},
    {"PSPL", "polySplit"}, {"PSPP", "polySphProj"}, {"PSPR", "polySplitRing"},
    {"PSTB", "polyStraightenUVBorder"}, {"PSUE", "polySubdEdge"}, {"PSUF", "polySubdFace"},
    {"PSVE", "polySplitVert"}, {"PSWE", "polySewEdge"}, {"PTFR", "polyTransfer"},
    {"PTMA", "particleTranspMapper"}, {"PTOR", "polyTorus"}, {"PTRI", "polyTriangulate"},
    {"PTUV", "polyTweakUV"}, {"PTWK", "polyTweak"}, {"PUNI", "polyUnite"}, {"PWFC", "polyWedgeFace"},
    {"PXMG", "proxyManager"}, {"RANI", "anisotropic"}, {"RBL2", "blendColors"}, {"RBLN", "blinn"},
    {"RBU3", "bump3d"}, {"RBUM", "bump2d"}, {"RCL3", "clamp"}, {"RCND", "condition"}, {"RCON", "contrast"},
    {"RDGL", "renderGlobalsList"}, {"RDMN", "paramDimension"}, {"RDSH", "displacementShader"},
    {"RDSL", "defaultShaderList"}, {"RDTL", "defaultTextureList"}, {"REBL", "envBall"}, {"RECB", "envCube"},
    {"RECD", "record"}, {"RECH", "envChrome"}, {"REFC", "envFacade"}, {"REFG", "envFog"}, {"REFN", "reference"},
    {"REFV", "AISEnvFacade"}, {"RESK", "envSky"}, {"RESP", "envSphere"}, {"RFBM", "brownian"},
    {"RFOG", "lightFog"}, {"RGAM", "gammaCorrect"}, {"RGLB", "renderGlobals"}, {"RH2R", "hsvToRgb"},
    {"RHTB", "hairTubeShader"}, {"RLAM", "lambert"}, {"RLIN", "lightInfo"}, {"RLLK", "lightLinker"},
    {"RLTN", "resolution"}, {"RLUM", "luminance"}, {"RMCL", "remapColor"}, {"RMDI", "multiplyDivide"},
    {"RMFC", "materialFacade"}, {"RMHS", "remapHsv"}, {"RMTX", "mentalrayTexture"}, {"RMVL", "remapValue"},
    {"RNBX", "renderBox"}, {"RNCO", "renderCone"}, {"RNDL", "renderLayer"}, {"RNLM", "renderLayerManager"},
    {"RNPS", "renderPass"}, {"RNSP", "renderSphere"}, {"ROPS", "oceanShader"}, {"RPHE", "phongE"},
    {"RPHO", "phong"}, {"RPL2", "place2dTexture"}, {"RPLD", "place3dTexture"}, {"RPMA", "plusMinusAverage"},
    {"RPRJ", "projection"}, {"RQUA", "renderQuality"}, {"RR2H", "rgbToHsv"}, {"RRCT", "renderRect"},
    {"RRNG", "setRange"}, {"RRPS", "rampShader"}, {"RRVS", "reverse"}, {"RS40", "crater"}, {"RS60", "stucco"},
    {"RSIN", "samplerInfo"}, {"RSLU", "surfaceLuminance"}, {"RSSH", "surfaceShader"}, {"RT2F", "fractal"},
    {"RTBU", "bulge"}, {"RTCD", "cloud"}, {"RTCH", "checker"}, {"RTCL", "cloth"}, {"RTF3", "solidFractal"},
    {"RTFT", "file"}, {"RTGD", "grid"}, {"RTGR", "granite"}, {"RTLE", "leather"}, {"RTMR", "marble"},
    {"RTMT", "mountain"}, {"RTMV", "movie"}, {"RTN3", "noise"}, {"RTOC", "ocean"}, {"RTRA", "ramp"},
    {"RTRK", "rock"}, {"RTSN", "snow"}, {"RTST", "stencil"}, {"RTV3", "volumeNoise"}, {"RTWA", "water"},
    {"RTWD", "wood"}, {"RVEC", "vectorProduct"}, {"RVFG", "volumeFog"}, {"RVSH", "volumeShader"},
    {"SATY", "subdAddTopology"}, {"SAUP", "subdAutoProj"}, {"SBDT", "subdBlindData"},
    {"SCLP", "subdivCollapse"}, {"SCLR", "studioClearCoat"}, {"SCRP", "script"},
    {"SCSE", "curveFromSubdivEdge"}, {"SCSF", "curveFromSubdivFace"}, {"SCTY", "subdCleanTopology"},
    {"SDML", "shapeEditorManager"}, {"SDMP", "shadingMap"}, {"SDSN", "subdivToNurbs"}, {"SDSP", "subdivToPoly"},
    {"SDSS", "subdiv"}, {"SHAD", "shadingEngine"}, {"SHGL", "shaderGlow"}, {"SHRB", "subdHierBlind"},
    {"SKPN", "sketchPlane"}, {"SLUV", "subdLayoutUV"}, {"SMAC", "subdMapCut"}, {"SMEA", "smear"},
    {"SNPT", "snapshot"}, {"SNTP", "nurbsToSubdivProc"}, {"SNTS", "nurbsToSubdiv"},
    {"SOLI", "polyPlatonicSolid"}, {"SPLP", "subdPlanarProj"}, {"SPTL", "spotLight"},
    {"SRCA", "stereoRigCamera"}, {"SRVF", "subdivReverseFaces"}, {"SSEM", "subdMapSewMove"},
    {"SSHA", "snapshotShape"}, {"SSID", "subdivComponentId"}, {"SSVG", "subdivSurfaceVarGroup"},
    {"STES", "shellTessellate"}, {"STKG", "strokeGlobals"}, {"STRK", "stroke"}, {"STRY", "storyboard"},
    {"STUV", "subdTweakUV"}, {"STWK", "subdTweak"}, {"SVSH", "simpleVolumeShader"},
    {"SWH1", "singleShadingSwitch"}, {"SWH2", "doubleShadingSwitch"}, {"SWH3", "tripleShadingSwitch"},
    {"SWH4", "quadShadingSwitch"}, {"TBAK", "textureBakeSet"}, {"TGEO", "transformGeometry"}, {"TIME", "time"},
    {"TLAT", "toonLineAttributes"}, {"TRAT", "transferAttributes"}, {"TTGO", "textureToGeom"},
    {"TXLT", "texLattice"}, {"UNKD", "unknownDag"}, {"UNKN", "unknown"}, {"UNKT", "unknownTransform"},
    {"USBG", "useBackground"}, {"UVCH", "uvChooser"}, {"VBAK", "vertexBakeSet"}, {"VOLL", "volumeLight"},
    {"VTRG", "vectorRenderGlobals"}, {"XFRM", "transform"}, {"XOFF", "characterOffset"}, {"YAIR", "airField"},
    {"YCOL", "collisionModel"}, {"YCST", "rigidConstraint"}, {"YCTL", "dynController"}, {"YDGL", "dynGlobals"},
    {"YDRG", "dragField"}, {"YEMI", "pointEmitter"}, {"YGCO", "geoConnectable"}, {"YGCT", "geoConnector"},
    {"YGRA", "gravityField"}, {"YHLD", "dynHolder"}, {"YHRD", "hwRenderGlobals"}, {"YNEW", "newtonField"},
    {"YNST", "instancer"}, {"YPAR", "particle"}, {"YRAD", "radialField"}, {"YRGD", "rigidBody"},
    {"YSLV", "rigidSolver"}, {"YSPR", "spring"}, {"YTUR", "turbulenceField"}, {"YUNI", "uniformField"},
    {"YVOR", "vortexField"}, {"YVXF", "volumeAxisField"}, {"tfxn", "timeFunction"},
};

struct Id {
  std::uint32_t id;
  const char* type;
};

// Render setup (Maya 2016.5 and later); files name them in their renderSetup.py PLUG record too.
constexpr Id kRenderSetup[] = {
    {0x58000370, "override"},         {0x58000371, "renderSetup"},           {0x58000372, "renderSetupLayer"},
    {0x58000373, "collection"},       {0x58000374, "selector"},              {0x58000375, "basicSelector"},
    {0x58000378, "absOverride"},      {0x5800037A, "relOverride"},           {0x58000385, "connectionOverride"},
    {0x58000386, "shaderOverride"},   {0x58000387, "materialOverride"},      {0x58000394, "lightsCollection"},
    {0x58000395, "renderSettingsCollection"}, {0x5800039B, "aovCollection"}, {0x5800039C, "aovChildCollection"},
    {0x5800039E, "simpleSelector"},   {0x5800039F, "arnoldAOVChildSelector"}, {0x580003A0, "absUniqueOverride"},
    {0x580003A1, "relUniqueOverride"},
};

// Plug-in types for files before Maya 2014, which carry no type table: Arnold's and mental ray's
// render globals. Plug-ins may change their ids between versions, so a file's own table wins.
constexpr Id kPlugins[] = {
    {0x00115C00, "aiOptions"},          {0x00115C03, "aiAOVDriver"},       {0x00115C04, "aiAOVFilter"},
    {0x00102E40, "mentalrayItemsList"}, {0x00102E41, "mentalrayGlobals"},  {0x00102E42, "mentalrayOptions"},
    {0x00102E43, "mentalrayFramebuffer"},
};

struct SortedTag {
  std::uint32_t id;
  const char* type;
  bool operator<(const SortedTag& o) const { return id < o.id; }
};

const std::vector<SortedTag>& built_in() {
  static const std::vector<SortedTag> table = [] {
    std::vector<SortedTag> t;
    for (const Tag& e : kBuiltIn) {
      const char s[5] = {e.tag[0], e.tag[1], e.tag[2], e.tag[3], '\0'};
      t.push_back({tag(s), e.type});
    }
    std::sort(t.begin(), t.end());
    return t;
  }();
  return table;
}

}  // namespace

const char* known_type(std::uint32_t id) {
  const std::vector<SortedTag>& table = built_in();
  const auto it = std::lower_bound(table.begin(), table.end(), SortedTag{id, nullptr});
  if (it != table.end() && it->id == id) return it->type;
  for (const Id& e : kRenderSetup) {
    if (e.id == id) return e.type;
  }
  for (const Id& e : kPlugins) {
    if (e.id == id) return e.type;
  }
  return nullptr;
}

std::string unknown_type_text(std::uint32_t id) {
  char hex[16];
  std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(id));
  std::string text = std::string("unknown type ") + hex;
  const std::string name = chunk_id(id);
  if (name.size() == 4) text += " (" + name + ")";
  return text;
}

}  // namespace binary
}  // namespace mayascene
