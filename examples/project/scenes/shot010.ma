//Maya ASCII 2022 scene
//Name: shot010.ma
//Last modified: Mon, Jan 06, 2025 10:00:00 AM
//Codeset: UTF-8
requires maya "2022";
requires -nodeType "aiOptions" -nodeType "aiAOVDriver" -nodeType "aiAOVFilter" -nodeType "aiImage"
		 "mtoa" "5.0.0.1";
currentUnit -l centimeter -a degree -t film;
fileInfo "application" "maya";
fileInfo "product" "Maya 2022";
fileInfo "version" "2022";
fileInfo "evaluationMode" "parallel";
createNode transform -s -n "persp";
	setAttr ".t" -type "double3" 28 21 28 ;
createNode camera -s -n "perspShape" -p "persp";
	setAttr -k off ".v" no;
	setAttr ".rnd" no;
createNode transform -n "shotCam";
	setAttr ".t" -type "double3" 0 5 30 ;
createNode camera -n "shotCamShape" -p "shotCam";
	setAttr -k off ".v";
	setAttr ".fl" 50;
createNode transform -n "closeupCam";
	setAttr ".t" -type "double3" 0 5 8 ;
createNode camera -n "closeupCamShape" -p "closeupCam";
	setAttr -k off ".v";
	setAttr ".rnd" no;
createNode file -n "woodFile";
	setAttr ".ftn" -type "string" "sourceimages/wood.png";
createNode file -n "metalFile";
	setAttr ".ftn" -type "string" "sourceimages/metal.png";
createNode file -n "skinFile";
	setAttr ".ftn" -type "string" "sourceimages/skin.1001.png";
	setAttr ".uvt" 3;
createNode file -n "clothFile";
	setAttr ".ftn" -type "string" "sourceimages/cloth.1001.png";
	setAttr ".uvt" 3;
createNode aiImage -n "gridImage";
	setAttr ".filename" -type "string" "sourceimages/library/grid.png";
createNode renderLayerManager -n "renderLayerManager";
	setAttr -s 2 ".rlmi[1]"  1;
createNode renderLayer -n "defaultRenderLayer";
	setAttr ".g" yes;
createNode renderLayer -n "closeup";
	setAttr ".do" 1;
	setAttr -s 3 ".adjs";
	setAttr ".adjs[0].val" yes;
	setAttr ".adjs[1].val" no;
	setAttr ".adjs[2].val" -type "string" "<Scene>/closeup/<RenderLayer>";
createNode aiOptions -s -n "defaultArnoldRenderOptions";
createNode aiAOVDriver -s -n "defaultArnoldDriver";
	setAttr ".ai_translator" -type "string" "exr";
select -ne :defaultRenderGlobals;
	setAttr ".ren" -type "string" "arnold";
	setAttr ".outf" 51;
	setAttr ".imfkey" -type "string" "exr";
	setAttr ".ifp" -type "string" "<Scene>/<RenderLayer>/<RenderLayer>";
connectAttr "renderLayerManager.rlmi[0]" "defaultRenderLayer.rlid";
connectAttr "renderLayerManager.rlmi[1]" "closeup.rlid";
connectAttr "closeupCamShape.rnd" "closeup.adjs[0].plg";
connectAttr "shotCamShape.rnd" "closeup.adjs[1].plg";
connectAttr ":defaultRenderGlobals.ifp" "closeup.adjs[2].plg";
// End of shot010.ma
