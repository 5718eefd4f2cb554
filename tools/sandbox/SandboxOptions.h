#pragma once

#include "SignalReader.h"

#include <glib.h>

#include <string>

// Command line of ashenmoor-sandbox. The default ports are the ones the application's
// compiled configuration points at; 0 asks the system for a free port.
struct SandboxOptions {
  static constexpr int kContentPort = 47310;
  static constexpr int kStaticPort = 47311;
  static constexpr int kAdPort = 47312;

  std::string host = "127.0.0.1";
  int contentPort = kContentPort;
  int staticPort = kStaticPort;
  int adPort = kAdPort;
  int refreshSeconds = 30;
  int slowDelayMs = 4000;
  int landingDelayMs = 0;
  std::string signalsKey = *SignalReader::keyFromHex(SignalReader::kDefaultKeyHex);  // 16 bytes
  std::string www;

  // False with a message in *error for bad arguments; --help prints and exits itself.
  // creativesHelp lists the creatives for --help.
  bool parse(int argc, char** argv, const std::string& creativesHelp, std::string* error);
};
