// The class names of the library's windows, and the titles of its moxel and volume bar, for
// the dialog template, the library, the simulator, the tests and the benchmarks. Nothing else
// in here: the resource compiler and the compiler of the ABI host, which has no C++ library,
// read this file as well.
#pragma once

// The caption control of the preferences page; the dialog template names it.
#define SEPARATOR_CLASS_NAME "quorbel:separator"

#ifndef RC_INVOKED
// Literals, not arrays: the compiler would align a wide array to 32 bytes.
inline constexpr const wchar_t* SeparatorClassName = L"" SEPARATOR_CLASS_NAME;
inline constexpr const wchar_t* MoxelClassName = L"{9619D0A7-70B0-4320-AEA5-89459EB700A4}";
inline constexpr const wchar_t* VolumeBarClassName = L"{10f11910-6820-45cc-ac3b-4d74e67c68f3}";
inline constexpr const wchar_t* MoxelTitle = L"moxelwindow";
inline constexpr const wchar_t* VolumeBarTitle = L"moxelvolumebar";
#endif
