# The loopback GET: the desktop backend's transport against libsoup alone.
target_link_libraries(bench_loopback PRIVATE pf_gtk pf_sim PkgConfig::SOUP PkgConfig::GLIB)
