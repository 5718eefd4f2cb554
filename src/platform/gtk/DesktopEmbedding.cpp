#include "platform/gtk/DesktopEmbedding.h"

#include <filesystem>
#include <memory>
#include <string>

#include "platform/base/FileManager.h"
#include "platform/base/Log.h"
#include "platform/base/RunLoop.h"
#include "platform/gtk/DesktopPlatform.h"
#include "platform/gtk/GObjectRef.h"
#include "platform/gtk/GtkUIBackend.h"
#include "platform/ui/Application.h"
#include "platform/ui/Bundle.h"

namespace pf {
namespace {

struct Embedding {
  GObjectRef<GtkApplication> application;
  std::shared_ptr<GtkUIBackend> backend;
};

std::unique_ptr<Embedding>& current() {
  static std::unique_ptr<Embedding> embedding;
  return embedding;
}

// The name the application's files and requests go under: its id, else the program's name.
std::string applicationName(GtkApplication* application) {
  const char* id = g_application_get_application_id(G_APPLICATION(application));
  if (id && *id) return id;
  const char* program = g_get_prgname();
  return program && *program ? program : "gtk-application";
}

std::string programFolder() {
  std::error_code ec;
  auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? "." : exe.parent_path().string();
}

void onShutdown(GApplication*, gpointer) { Application::sharedApplication()->terminate(); }

}  // namespace

bool DesktopEmbedding::install(GtkApplication* application) {
  if (auto& embedding = current()) {
    if (embedding->application.get() == application) return true;
    Log::message("DesktopEmbedding: already installed into another application");
    return false;
  }
  std::string name = applicationName(application);
  // Before the transport: its cookie jar lives in the data folder.
  FileManager::defaultManager().setLocations(FileLocations::fromEnvironment(name));
  DesktopPlatform::install();
  auto backend = GtkUIBackend::installInto(application);
  if (!backend) {
    DesktopPlatform::uninstall();
    return false;
  }
  if (!Bundle::mainBundle()) {
    const char* shown = g_get_application_name();
    Bundle::setMainBundle(Bundle::bundleWithInfo(
        programFolder(), Value::dictionary({{"CFBundleIdentifier", name},
                                            {"CFBundleName", std::string(shown && *shown ? shown : name.c_str())}})));
  }
  auto embedding = std::make_unique<Embedding>();
  embedding->application = GObjectRef<GtkApplication>::ref(application);
  embedding->backend = std::move(backend);
  g_signal_connect(application, "shutdown", G_CALLBACK(onShutdown), nullptr);
  current() = std::move(embedding);
  // Launching ends once the caller's handler has returned to the loop, so the banners it
  // made hear that the application finished launching, as a phone application's do.
  RunLoop::main().performAfter(&current(), 0, [] { Application::sharedApplication()->finishLaunching(); });
  return true;
}

bool DesktopEmbedding::isInstalled() { return current() != nullptr; }

}  // namespace pf
