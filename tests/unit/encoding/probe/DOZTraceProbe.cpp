// A library the stack trace suite loads and unloads while it runs: one class method, reached
// through a C name the suite finds with dlsym.
class DOZTraceProbe {
 public:
  static int classStep(int x);
};

__attribute__((noinline)) int DOZTraceProbe::classStep(int x) { return x * 3 + 1; }

extern "C" const void* dozTraceProbeClassStep() { return reinterpret_cast<const void*>(&DOZTraceProbe::classStep); }
