#pragma once
// pf::Capability: operations that only some OS versions offer. Code that phone programs write
// as "if the platform responds to X" asks pf::Device::offers(Capability::X); the device
// profile decides (by its system version, or an explicit override), so both roads run in
// tests.
namespace pf {

enum class Capability {
  PresentingViewController,       // 5.0: UIViewController presentingViewController
  WindowRootViewController,       // 4.0: UIWindow rootViewController
  ApplicationState,               // 4.0: UIApplication applicationState
  BackgroundTasks,                // 4.0 and a multitasking device
  StatusBarHiddenWithAnimation,   // 3.2: setStatusBarHidden:withAnimation:
  UserInterfaceIdiom,             // 3.2: UIDevice userInterfaceIdiom
  ScreenScale,                    // 4.0: UIScreen scale
  ImageScale,                     // 4.0: UIImage initWithCGImage:scale:orientation:
  InlineMediaPlayback,            // 4.0: UIWebView allowsInlineMediaPlayback
  MediaPlaybackRequiresUserAction,// 4.0: UIWebView mediaPlaybackRequiresUserAction
  MediaPlaybackAllowsAirPlay,     // 5.0: UIWebView mediaPlaybackAllowsAirPlay
  ExtendedDataDetectors,          // 4.0: address and calendar-event data detectors
};

}  // namespace pf
