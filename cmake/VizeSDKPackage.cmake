# The ad layer as a library a publisher installs and links, named after the SDK's own name in
# its version string ("vize-sdk-i-v4.1.1"):
#
#   lib/libvize-sdk.so.4.1.1 (SONAME libvize-sdk.so.4)   the ad layer, the neutral platform
#   lib/libvize-sdk.a                                      layers and the desktop backend;
#                                                          only the public API is exported
#   include/vize-sdk/...                                   the public headers (VIZE_SDK_PUBLIC_HEADERS)
#   lib/cmake/VizeSDK/                                     find_package(VizeSDK CONFIG):
#                                                          VizeSDK::vize-sdk, VizeSDK::vize-sdk-static
#   lib/pkgconfig/vize-sdk.pc                              pkg-config vize-sdk
#   share/doc/vize-sdk/                                    the guides and the example
#
# Everything is relocatable: `cmake --install build --prefix <dir>` may put it anywhere.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

# The version, from the header that the version string is made from.
file(STRINGS ${CMAKE_SOURCE_DIR}/src/sdk/request/GADVersion.h version_lines
     REGEX "^#define GAD_SDK_VERSION_(MAJOR|MINOR|PATCH) [0-9]+$")
foreach(part MAJOR MINOR PATCH)
  set(VIZE_SDK_VERSION_${part} "")
  foreach(line ${version_lines})
    if(line MATCHES "^#define GAD_SDK_VERSION_${part} ([0-9]+)$")
      set(VIZE_SDK_VERSION_${part} ${CMAKE_MATCH_1})
    endif()
  endforeach()
  if(VIZE_SDK_VERSION_${part} STREQUAL "")
    message(FATAL_ERROR "GAD_SDK_VERSION_${part} not found in src/sdk/request/GADVersion.h")
  endif()
endforeach()
set(VIZE_SDK_VERSION ${VIZE_SDK_VERSION_MAJOR}.${VIZE_SDK_VERSION_MINOR}.${VIZE_SDK_VERSION_PATCH})

# What a publisher includes: the banner view, the request, its error and the delegate
# interface, the version, the desktop seam — and the platform headers they need.
set(VIZE_SDK_PUBLIC_HEADERS
  sdk/view/GADBannerView.h
  sdk/request/GADRequest.h
  sdk/request/GADRequestError.h
  sdk/request/GADVersion.h
  sdk/delegate/GADBannerViewDelegate.h
  platform/gtk/DesktopEmbedding.h
  platform/gtk/GtkViewHost.h
  platform/base/Error.h
  platform/base/Value.h
  platform/base/ValueAllocator.h
  platform/base/ValueBlockCache.h
  platform/ui/Color.h
  platform/ui/Event.h
  platform/ui/Geometry.h
  platform/ui/InterfaceOrientation.h
  platform/ui/TabBarItem.h
  platform/ui/View.h
  platform/ui/ViewController.h
  platform/ui/ViewPeer.h)

# The libraries behind pkg-config, under names of the package's own so that they cannot
# clash with a publisher's (the installed config file makes the same ones).
set(VIZE_SDK_PKG_MODULES GTK4=gtk4 WEBKITGTK=webkitgtk-6.0 SOUP=libsoup-3.0 PLIST=libplist-2.0
    URIPARSER=liburiparser DW=libdw ELF=libelf)
set(link_only)
foreach(entry ${VIZE_SDK_PKG_MODULES})
  string(REPLACE "=" ";" pair ${entry})
  list(GET pair 0 name)
  list(GET pair 1 module)
  pkg_check_modules(VizeSDK_${name} REQUIRED IMPORTED_TARGET ${module})
  if(NOT name STREQUAL "GTK4")
    list(APPEND link_only PkgConfig::VizeSDK_${name})
  endif()
endforeach()
list(APPEND link_only OpenSSL::Crypto Threads::Threads)

# One set of objects for both libraries: the folders' own libraries, compiled as
# position-independent code (CMAKE_POSITION_INDEPENDENT_CODE in the top-level file).
set(parts pf_base pf_net pf_ui pf_gtk)
get_target_property(areas gad_sdk INTERFACE_LINK_LIBRARIES)
list(APPEND parts ${areas})
set(objects)
foreach(part ${parts})
  list(APPEND objects $<TARGET_OBJECTS:${part}>)
endforeach()

set(version_script ${CMAKE_CURRENT_LIST_DIR}/vize-sdk.map)
add_library(vize_sdk SHARED ${objects})
add_library(vize_sdk_static STATIC ${objects})
add_dependencies(vize_sdk ${parts})
add_dependencies(vize_sdk_static ${parts})
set_target_properties(vize_sdk PROPERTIES
  OUTPUT_NAME vize-sdk EXPORT_NAME vize-sdk
  VERSION ${VIZE_SDK_VERSION} SOVERSION ${VIZE_SDK_VERSION_MAJOR}
  LINK_DEPENDS ${version_script}
  LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/vize-sdk)
set_target_properties(vize_sdk_static PROPERTIES
  OUTPUT_NAME vize-sdk EXPORT_NAME vize-sdk-static
  ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/vize-sdk)
# Only the public API leaves the shared library; nothing may stay unresolved in it.
target_link_options(vize_sdk PRIVATE "LINKER:--version-script=${version_script}" "LINKER:--no-undefined")
foreach(lib vize_sdk vize_sdk_static)
  target_include_directories(${lib} INTERFACE
    $<BUILD_INTERFACE:${CMAKE_SOURCE_DIR}/src> $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/vize-sdk>)
  target_compile_features(${lib} INTERFACE cxx_std_20)
  # GTK 4 for its headers (the desktop seam's types); the rest only to link.
  target_link_libraries(${lib} PUBLIC PkgConfig::VizeSDK_GTK4 PRIVATE ${link_only})
endforeach()
# The shared library carries them too, so a publisher's link sees every library it needs.
foreach(dep ${link_only})
  target_link_libraries(vize_sdk INTERFACE "$<LINK_ONLY:${dep}>")
endforeach()

# ---- install ----
set(config_dir ${CMAKE_INSTALL_LIBDIR}/cmake/VizeSDK)
set(doc_dir ${CMAKE_INSTALL_DATAROOTDIR}/doc/vize-sdk)
foreach(header ${VIZE_SDK_PUBLIC_HEADERS})
  get_filename_component(dir ${header} DIRECTORY)
  install(FILES ${CMAKE_SOURCE_DIR}/src/${header} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/vize-sdk/${dir})
endforeach()
install(TARGETS vize_sdk vize_sdk_static EXPORT VizeSDKTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(EXPORT VizeSDKTargets NAMESPACE VizeSDK:: DESTINATION ${config_dir})

string(REPLACE ";" " " VIZE_SDK_PKG_MODULES_TEXT "${VIZE_SDK_PKG_MODULES}")
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/VizeSDKConfig.cmake.in
  ${CMAKE_BINARY_DIR}/vize-sdk/VizeSDKConfig.cmake INSTALL_DESTINATION ${config_dir})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/vize-sdk/VizeSDKConfigVersion.cmake
  VERSION ${VIZE_SDK_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/vize-sdk/VizeSDKConfig.cmake ${CMAKE_BINARY_DIR}/vize-sdk/VizeSDKConfigVersion.cmake
  DESTINATION ${config_dir})

# pkg-config: the prefix found from the file's own place (${pcfiledir}), as many ".." as the
# library folder is deep.
string(REGEX REPLACE "[^/]+" ".." VIZE_SDK_PC_UP "${CMAKE_INSTALL_LIBDIR}/pkgconfig")
configure_file(${CMAKE_CURRENT_LIST_DIR}/vize-sdk.pc.in ${CMAKE_BINARY_DIR}/vize-sdk/vize-sdk.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/vize-sdk/vize-sdk.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

install(DIRECTORY ${CMAKE_SOURCE_DIR}/docs/ DESTINATION ${doc_dir} FILES_MATCHING PATTERN "*.md")
install(DIRECTORY ${CMAKE_SOURCE_DIR}/examples/banner-gtk DESTINATION ${doc_dir}/examples)
