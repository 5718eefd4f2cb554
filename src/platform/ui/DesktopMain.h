#pragma once
// pf::DesktopApplicationMain: pf::ApplicationMain on the desktop backend — the machine's
// clocks, GLib's main loop, libsoup, GIO, GTK 4 windows and WebKitGTK web views. It is
// defined by the desktop backend's library (pf_gtk): a program chooses the backend by linking
// it, and its main() includes no backend header.
//
//   int main(int argc, char* argv[]) { return pf::DesktopApplicationMain(argc, argv); }
//
// Exit status 1 when no display can be opened (the message says how to get one).
namespace pf {

int DesktopApplicationMain(int argc, char* argv[]);

}  // namespace pf
