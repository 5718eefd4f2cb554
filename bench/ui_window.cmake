# The desktop window and web view timings: GTK 4 and WebKitGTK through the desktop backend.
# A plain main (timings of a real window under a display do not fit Google Benchmark's loop).
target_link_libraries(bench_ui_window PRIVATE pf_gtk pf_ui pf_net pf_base PkgConfig::GTK PkgConfig::WEBKIT)
