#pragma once
// pf::InterfaceDescription: the application's main interface description — a property list
// that says which window, controllers and views to make and how to wire them (the role the
// main nib plays on the phone). Example (XML plist, written here as JSON-ish for brevity):
//
//   { "applicationDelegate": "appDelegate",
//     "objects": [
//       { "id": "appDelegate", "class": "AshenmoorAppDelegate",
//         "outlets": { "window": "window", "tabBarController": "tabs" } },
//       { "id": "window", "class": "Window", "backgroundColor": "white" },
//       { "id": "tabs", "class": "TabBarController", "viewControllers": ["amr", "static"] },
//       { "id": "amr", "class": "AmrViewController", "title": "Classics", "tabImage": "classics.png",
//         "view": { "class": "View", "backgroundColor": "white",
//                   "subviews": [ { "id": "amrWeb", "class": "WebView",
//                                   "frame": [0, 0, 320, 365], "autoresizingMask": 18 } ] },
//         "outlets": { "amrView": "amrWeb" } },
//       { "id": "static", "class": "ViewController", "title": "About",
//         "view": { "class": "Label", "text": "…", "numberOfLines": 0 } } ] }
//
// Classes: the built-in Window, View, WebView, Label, ViewController and TabBarController,
// controllers registered in pf::ViewControllerRegistry, application delegates registered in
// pf::ApplicationDelegateRegistry. View keys: frame ([x, y, w, h]), autoresizingMask,
// backgroundColor ([r, g, b, a] or white/black/clear/gray), hidden, opaque, clipsToBounds,
// userInteractionEnabled, tag, subviews; WebView: scalesPageToFit, dataDetectorTypes; Label:
// text, textColor, fontSize, textAlignment (left/center/right), numberOfLines. Controller
// keys: title, tabTitle, tabImage (a PNG in the bundle; "@2x" in the name means scale 2),
// view, outlets; TabBarController: viewControllers, selectedIndex.
//
// The whole description is checked when it is read: an unknown class, a missing id, an
// outlet the class does not have or one naming no object is an Error (domain
// kInterfaceDescriptionErrorDomain) that names it. A controller's view is made when the
// controller first loads its view (again after an unload), and the controller's outlets into
// that view are wired then, before viewDidLoad; every other outlet is wired at instantiation.
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/Error.h"
#include "platform/base/Value.h"
#include "platform/ui/Bundle.h"
#include "platform/ui/InterfaceObject.h"
#include "platform/ui/Window.h"

namespace pf {

inline constexpr const char* kInterfaceDescriptionErrorDomain = "pf.InterfaceDescription";

class InterfaceDescription {
 public:
  enum ErrorCode : long { Malformed = 1, UnknownClass = 2, UnknownOutlet = 3, UnknownObject = 4, WrongKind = 5 };

  struct Instance {
    std::map<std::string, InterfaceObject> objects;  // the top-level objects by id
    std::shared_ptr<ApplicationDelegate> applicationDelegate;
  };

  static std::shared_ptr<const InterfaceDescription> fromValue(const Value& description, Error* error);
  static std::shared_ptr<const InterfaceDescription> fromFile(const std::string& path, Error* error);

  // Makes the top-level objects and wires their outlets. `resources` (may be none) is where
  // images are read from.
  std::optional<Instance> instantiate(std::shared_ptr<Bundle> resources, Error* error) const;

 private:
  explicit InterfaceDescription(Value description) : description_(std::move(description)) {}
  bool validate(Error* error) const;

  Value description_;
};

}  // namespace pf
