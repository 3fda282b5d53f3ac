// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The control ids of the two dialog templates (resources/dialogs): "Graph Settings" (101) and
// "Color Scheme" (108). The dialogs' code and the tests name the controls by these.

namespace vorax {

inline constexpr int kSettingsDialogTemplate = 101;
inline constexpr int kColorSchemeDialogTemplate = 108;

// The controls of "Graph Settings".
namespace settings_control {
inline constexpr int kDraw = 1;
inline constexpr int kCancel = 2;
inline constexpr int kReverseVertical = 1002;
inline constexpr int kReverseY = 1003;
inline constexpr int kReverseX = 1004;
inline constexpr int kGridAndScale = 1007;
inline constexpr int kElementIndices = 1008;
inline constexpr int kTitle = 1011;
inline constexpr int kNodeIndices = 1013;
inline constexpr int kFactor = 1015;
inline constexpr int kAllNodes = 1018;
inline constexpr int kRange = 1019;
inline constexpr int kNodeUnderline = 1025;
inline constexpr int kNodeItalic = 1026;
inline constexpr int kInfo = 1027;
inline constexpr int kColorScheme = 1028;
inline constexpr int kElementUnderline = 1029;
inline constexpr int kRangeLimits = 1030;
inline constexpr int kNodeBold = 1031;
inline constexpr int kElementBold = 1032;
inline constexpr int kStyleAuto = 1033;
inline constexpr int kElementSize = 1034;
inline constexpr int kNodeSize = 1035;
inline constexpr int kSizeAuto = 1036;
inline constexpr int kElementItalic = 1037;
inline constexpr int kView = 1038; // the view of a spatial model; Oblique alone, disabled, for a plane one
} // namespace settings_control

// The controls of "Color Scheme": one button per colour role, in role order, then OK and a
// hidden Cancel.
namespace color_control {
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;
inline constexpr int kLineButton = 1040;
inline constexpr int kGridButton = 1041;
inline constexpr int kScaleButton = 1042;
inline constexpr int kNodeIndexButton = 1043;
inline constexpr int kElementIndexButton = 1044;
inline constexpr int kTextButton = 1045;
inline constexpr int kFirstColorButton = kLineButton;
inline constexpr int kLastColorButton = kTextButton;
} // namespace color_control

} // namespace vorax
