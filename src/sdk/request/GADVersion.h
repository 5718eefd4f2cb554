#pragma once
/// @file
/// The ad layer's version: the numbers of its version string, GADRequest::sdkVersion()
/// ("vize-sdk-i-v4.1.1"). The installed library is named after the SDK ("vize-sdk") and
/// versioned with them: libvize-sdk.so.4.1.1, SONAME libvize-sdk.so.4. The build reads these
/// three lines.
///
/// @code
/// #if GAD_SDK_VERSION_MAJOR < 4
/// #error "this application needs the ad layer 4 or later"
/// #endif
/// @endcode

/// Major version: a new one may break what a publisher built (the SONAME changes with it).
#define GAD_SDK_VERSION_MAJOR 4
/// Minor version: additions that keep what was there.
#define GAD_SDK_VERSION_MINOR 1
/// Patch version: fixes.
#define GAD_SDK_VERSION_PATCH 1
