#include "SandboxOptions.h"

namespace {

constexpr const char* kSummary =
    "The outside world of the Ashenmoor application on one machine: the series' web site,\n"
    "the static host of the ad core script and a test ad server, each on its own port.";

constexpr const char* kDescription =
    "Content host (default port 47310):\n"
    "  /classiclist.html  /contacts.html  /more.html  and /site.css; / leads to the list\n"
    "\n"
    "Static host (default port 47311):\n"
    "  /vize/sdk-core-v40.js   the ad core script, with Last-Modified; If-Modified-Since that\n"
    "                          is not older gets 304; ?unique=... is accepted\n"
    "  VIZE_buildAdURL(params) navigates once to gmsg://sandbox/loadAdURL?url=...&type=html\n"
    "  (type=gwhirl when extras.sandbox_type is \"gwhirl\"), loadAdURL?errors=... when\n"
    "  slotname is missing or a parameter is malformed, invalidRequest for an unknown\n"
    "  \"format\", unableToServe for interstitials. extras.sandbox_creative=NAME is passed on\n"
    "  as creative=NAME; extras.sandbox_reply forces invalidRequest or unableToServe.\n"
    "\n"
    "Ad host (default port 47312):\n"
    "  /ad?slotname=...[&creative=NAME][&delay_ms=N]   an ad with the X-Vize- headers;\n"
    "                          400 without slotname. Creative: named one, else queued, else\n"
    "                          the rotation of the banner creatives\n"
    "  /ad/creative?c=NAME     preview of a banner creative (not counted)\n"
    "  /track/impression?c=NAME[&to=URL]  /track/click?...  /track/event?...\n"
    "                          count a hit; with \"to\", answer 302 to that URL (any scheme)\n"
    "  The application's signals (\"ms\" on /ad, the bare token on /track/click) are read\n"
    "  with --signals-key and counted valid or invalid in /stats.json\n"
    "  /landing/browser.html /landing/webapp.html /landing/video.html   landing pages\n"
    "  /control/next?creative=NAME[&count=N][&delay_ms=N]   the next N ad requests get NAME\n"
    "  /control/reset          clear counters, history, queue and rotation\n"
    "  /                       live dashboard      /stats.json  counters      /creatives.json\n"
    "\n"
    "%s\n"
    "At start the program prints one line on standard output:\n"
    "  ready content=PORT static=PORT ad=PORT\n"
    "then one line per request on standard error. SIGINT or SIGTERM stop it.\n"
    "Pages are read from --www, else $ASHENMOOR_SANDBOX_WWW, else the source tree.";

}  // namespace

bool SandboxOptions::parse(int argc, char** argv, const std::string& creativesHelp, std::string* error) {
  g_autofree char* hostArg = nullptr;
  g_autofree char* wwwArg = nullptr;
  g_autofree char* signalsKeyArg = nullptr;
  GOptionEntry entries[] = {
      {"host", 0, 0, G_OPTION_ARG_STRING, &hostArg, "Address to listen on (default 127.0.0.1)", "ADDRESS"},
      {"content-port", 0, 0, G_OPTION_ARG_INT, &contentPort, "Port of the content site (default 47310, 0 = any free)", "N"},
      {"static-port", 0, 0, G_OPTION_ARG_INT, &staticPort, "Port of the script host (default 47311, 0 = any free)", "N"},
      {"ad-port", 0, 0, G_OPTION_ARG_INT, &adPort, "Port of the ad server (default 47312, 0 = any free)", "N"},
      {"refresh-rate", 0, 0, G_OPTION_ARG_INT, &refreshSeconds,
       "X-Vize-Refresh-Rate in seconds sent with ads (default 30, 0 = no header)", "SECONDS"},
      {"slow-ms", 0, 0, G_OPTION_ARG_INT, &slowDelayMs, "Delay of the \"slow\" creative (default 4000)", "MS"},
      {"landing-delay-ms", 0, 0, G_OPTION_ARG_INT, &landingDelayMs,
       "Delay of every landing page, as a slow advertiser (default 0)", "MS"},
      {"signals-key", 0, 0, G_OPTION_ARG_STRING, &signalsKeyArg,
       "AES-128 key of the application's signals, 32 hex digits (default: the application's compiled one)", "HEX"},
      {"www", 0, 0, G_OPTION_ARG_FILENAME, &wwwArg, "Folder of pages and scripts (default: the source tree)", "DIR"},
      {nullptr, 0, 0, G_OPTION_ARG_NONE, nullptr, nullptr, nullptr},
  };
  g_autoptr(GOptionContext) context = g_option_context_new(nullptr);
  g_option_context_set_summary(context, kSummary);
  g_autofree char* description = g_strdup_printf(kDescription, creativesHelp.c_str());
  g_option_context_set_description(context, description);
  g_option_context_add_main_entries(context, entries, nullptr);
  g_autoptr(GError) parseError = nullptr;
  if (!g_option_context_parse(context, &argc, &argv, &parseError)) {
    *error = parseError ? parseError->message : "cannot read the arguments";
    return false;
  }
  if (argc > 1) {
    *error = std::string("unexpected argument: ") + argv[1];
    return false;
  }
  if (hostArg) host = hostArg;
  if (wwwArg) www = wwwArg;
  if (signalsKeyArg) {
    auto key = SignalReader::keyFromHex(signalsKeyArg);
    if (!key) {
      *error = "--signals-key needs 32 hexadecimal digits";
      return false;
    }
    signalsKey = *key;
  }
  for (int port : {contentPort, staticPort, adPort}) {
    if (port < 0 || port > 65535) {
      *error = "ports are 0 to 65535";
      return false;
    }
  }
  if (refreshSeconds < 0 || slowDelayMs < 0 || slowDelayMs > 600000 || landingDelayMs < 0 || landingDelayMs > 600000) {
    *error = "--refresh-rate, --slow-ms and --landing-delay-ms must be positive (the delays at most 600000)";
    return false;
  }
  return true;
}
