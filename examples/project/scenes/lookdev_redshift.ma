//Maya ASCII 2022 scene
//Name: lookdev_redshift.ma
//Last modified: Mon, Jan 06, 2025 11:00:00 AM
//Codeset: UTF-8
requires maya "2022";
requires -nodeType "RedshiftOptions" -nodeType "RedshiftDomeLight" "redshift4maya" "3.5.14";
currentUnit -l centimeter -a degree -t film;
fileInfo "application" "maya";
fileInfo "product" "Maya 2022";
fileInfo "version" "2022";
createNode transform -s -n "persp";
createNode camera -s -n "perspShape" -p "persp";
	setAttr -k off ".v" no;
createNode transform -n "domeLight";
createNode RedshiftDomeLight -n "domeLightShape" -p "domeLight";
	setAttr ".tex0" -type "string" "sourceimages/studio.hdr";
createNode renderLayerManager -n "renderLayerManager";
createNode renderLayer -n "defaultRenderLayer";
	setAttr ".g" yes;
createNode RedshiftOptions -s -n "redshiftOptions";
	setAttr ".imageFormat" 2;
select -ne :defaultRenderGlobals;
	setAttr ".ren" -type "string" "redshift";
	setAttr ".ifp" -type "string" "lookdev/<Scene>";
connectAttr "renderLayerManager.rlmi[0]" "defaultRenderLayer.rlid";
// End of lookdev_redshift.ma
