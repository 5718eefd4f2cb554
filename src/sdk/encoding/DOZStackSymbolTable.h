#pragma once
// DOZStackSymbolTable: the functions of the loaded images — the executable and its shared
// libraries, in the order the dynamic linker lists them — read from their ELF symbol tables
// (.symtab where the file has one, else .dynsym) with libelf. A stack trace names its return
// addresses with it (DOZStackTrace.h).
//
// Which functions are methods. A member function of a class is a method: a static member is a
// class method, any other an instance method. A demangled name does not tell a class from a
// namespace, so the table decides:
//   - where the image carries DWARF debug information, from the member function declarations
//     inside class, struct and union types (libdw): member or not, static or not;
//   - without it, only from what the mangled name proves: a cv- or ref-qualified function
//     ("_ZNK…") and a constructor or destructor are instance methods. Other functions of such
//     an image (non-const members among them) count as plain functions, and no function of it
//     is a class method: a mangled name never shows "static".
// Members of classes declared inside a function — a lambda's operator() among them — are not
// looked for in function bodies: unless their mangled name proves them, they are plain functions.
// The classes are the scopes of the methods, each listed at its first method (images in
// linker order, symbols in symbol-table order); within a class, class methods come before
// instance methods.
//
// The table is read on first use and kept: it is read again only when the dynamic linker has
// loaded or unloaded an image since (dl_iterate_phdr's counters), and then only the new images'
// files are opened. The class and method names it hands out are kept for the life of the
// process, across such refreshes.
//
//   DOZStackSymbolTable::withCurrent([&](DOZStackSymbolTable& table) {
//     if (const auto* m = table.nearestMethod(address)) … m->className, m->name …
//   });
#include <cstdint>
#include <functional>

class DOZStackSymbolTable {
 public:
  struct Method {
    uintptr_t start;
    const char* className;  // "pf::RunLoop", "DOZStringEncodingFamily<DOZStringEncoding>"
    const char* name;       // "main", "encode", "operator()", "~RunLoop"
    bool isClassMethod;     // a static member function
  };

  // Runs `use` with the table of the images loaded now; one caller at a time (the others
  // wait), so `use` must not ask for the table again.
  static void withCurrent(const std::function<void(DOZStackSymbolTable&)>& use);

  // Forgets what was read; the next use reads every image again. Names handed out stay valid.
  // For measuring a first trace.
  static void discard();

  // The method starting nearest at or below `address`, in any image; of methods starting at the
  // same place, the first in table order. Null when none starts at or below it.
  const Method* nearestMethod(uintptr_t address) const;

  // The function symbol (plain or member) starting nearest at or below `address` in the image
  // that contains the address: false when no image contains it or none starts below it.
  // `name` is its plain name (see plainName).
  bool nearestFunction(uintptr_t address, uintptr_t& start, const char*& name);

  // A symbol's name as a plain function is written: demangled, scope and name joined by "::",
  // without parameters ("pf::RunLoop::main", "qsort"). Kept for the life of the process.
  const char* plainName(const char* symbol);

 private:
  struct State;
  static State& shared();
  explicit DOZStackSymbolTable(State& state) : state_(state) {}
  State& state_;
};
