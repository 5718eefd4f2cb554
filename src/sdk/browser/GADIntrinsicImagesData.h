#pragma once
// The PNG files of GADIntrinsicImages as RFC 4648 Base64 text (with "=" padding), each drawn
// at twice its point size. GADIntrinsicImagesData.cpp is written by tools/imagegen.
extern const char kGADIntrinsicCloseButtonPNGBase64[];
extern const char kGADIntrinsicBrowserBackButtonPNGBase64[];
extern const char kGADIntrinsicBrowserForwardButtonPNGBase64[];
