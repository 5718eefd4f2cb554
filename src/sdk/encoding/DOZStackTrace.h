#pragma once
// DOZStackTrace: a readable trace of the calling thread's stack, one line per frame, for the
// people reading a failure report. Each return address is named after the nearest method of a
// C++ class or else the nearest plain function, with the loaded image that holds it:
//
//   #0  gadutil                             0x55e528e79089 traceDemoFunction()
//   #1  gadutil                             0x55e528e79119 -[TraceDemo instanceStep]
//   #2  gadutil                             0x55e528e79129 +[TraceDemo classStep]
//   #3  gadutil                             0x55e528e790cb (anonymous namespace)::runTrace()
//   #4  gadutil                             0x55e528e70ad3 main()
//   #5  libc.so.6                           0x7f754504524a __libc_init_first()
//
// A method is written as "-" (instance method) or "+" (class method: a static member
// function), then its class and its own name between brackets; a plain function as its name
// followed by "()". The columns: the frame number left-aligned in two, the image's file name
// in 35, the address zero-padded to ten characters as glibc's printf writes a pointer; "??"
// for an image the dynamic linker does not know, "???" for a name nothing knows. No line feed
// after the last line.
//
// How an address A is named (DOZGetStackAddressDescriptorsForAddresses):
//   1. The nearest method: of the methods of the loaded images' classes (DOZStackSymbolTable.h
//      says which functions are methods, and what debug information changes), the one whose
//      start is nearest at or below A; of two equally near, the first in class-table order.
//   2. The dynamic linker's nearest symbol (dladdr): it wins only when its start is strictly
//      nearer to A than the method's; it also gives the image's path in any case. glibc's
//      dladdr names only an exported symbol, and only one whose extent holds A: when it names
//      none, the nearest function symbol at or below A in the image's own symbol table stands
//      in, with the same strict rule — so a frame in a function with internal linkage
//      (an anonymous namespace, a static function) is named after that function, not after
//      some method below it.
//   3. Nothing found: "???".
// A name is only as good as the symbols an image carries: a system library ships .dynsym
// alone, so a frame in one of its internal functions takes the nearest exported name below it
// (line 5 above is __libc_start_call_main's frame).
// Names are demangled with the C++ runtime's demangler; a plain function shows its scope and
// name without parameters ("pf::RunLoop::main()"), a method its own name ("-[pf::RunLoop run]").
//
// Cost: the images' symbol tables (and their DWARF member declarations) are read on the first
// trace and kept until a library is loaded or unloaded; after that a trace costs a binary
// search and a dladdr call per frame. Safe to call from any thread; callers of the table take
// turns.
#include <string>

// One frame of a trace. The strings are not owned: they belong to the symbol table and the
// dynamic linker, and stay valid for the life of the process (an image's path only while the
// image stays loaded).
struct DOZStackAddressDescriptor {
  const void* address = nullptr;  // the return address described
  const char* symbolName = nullptr;  // the method's name, the plain function's name, or "???"
  const char* className = nullptr;   // the method's class; null for a plain function
  bool isClassMethod = false;        // a static member function
  const char* fileName = nullptr;    // the image's path as the dynamic linker gives it; may be null
};

// The trace of the calling thread (glibc's backtrace), innermost frame first; the frame of
// DOZStackTrace itself is left out (with any above it, such as a sanitizer's wrapper of
// backtrace), so line 0 is its caller. "" when the stack has one frame or memory runs out.
// At most 2^20 frames are taken.
std::string DOZStackTrace();

// Fills descriptors[i] for addresses[i], i < count, and returns count. Returns 0 and touches
// nothing when either array is null or count is 0.
unsigned DOZGetStackAddressDescriptorsForAddresses(const void* const* addresses,
                                                   DOZStackAddressDescriptor* descriptors, unsigned count);

// The lines of the trace for `count` descriptors, numbered from 0, without a final line feed.
// The file column is the last component of the image's path read as UTF-8, "??" when there is
// no path (or it is not UTF-8); a missing symbol name is written "??".
std::string DOZStackTraceFromAddressDescriptors(const DOZStackAddressDescriptor* descriptors, unsigned count);
