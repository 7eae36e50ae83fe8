// The gl widgets' shared types: their streaming names and the global record.
#include "gl/glTypes.h"

TglGlobalData glGlobalData;

namespace {

const TTypeInfo* const gradientDirType = DefineEnum<TglGradientDir>(
    "TglGradientDir", {"fgdHorizontal", "fgdVertical", "fgdLeftBias", "fgdRightBias", "fgdRectangle",
                       "fgdHorzConvergent", "fgdVertConvergent"});
const TTypeInfo* const threeDGradientType =
    DefineEnum<TThreeDGradientType>("TThreeDGradientType", {"fgtFlat", "fgt3D"});
const TTypeInfo* const horAlignType =
    DefineEnum<TglHorAlign>("TglHorAlign", {"fhaLeft", "fhaCenter", "fhaRight"});
const TTypeInfo* const vertAlignType =
    DefineEnum<TglVertAlign>("TglVertAlign", {"fvaTop", "fvaCenter", "fvaBottom"});
const TTypeInfo* const textStyleType = DefineEnum<TglTextStyle>(
    "TglTextStyle", {"fstNone", "fstRaised", "fstRecessed", "fstPushed", "fstShadow", "fstVolumetric"});
const TTypeInfo* const sideType =
    DefineEnum<TglSide>("TglSide", {"fsdLeft", "fsdTop", "fsdRight", "fsdBottom"});
const TTypeInfo* const originType = DefineEnum<TglOrigin>("TglOrigin", {"forLeftTop", "forRightBottom"});

} // namespace
