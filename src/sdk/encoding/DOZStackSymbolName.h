#pragma once
// DOZStackSymbolName: what a stack trace shows of a function symbol — the C++ runtime's
// demangled text of it, cut into the scope and the function's own name.
//
//   DOZSplitFunctionName("std::vector<int>* pf::Box<int>::get[abi:cxx11](int) const")
//       → scope "pf::Box<int>", name "get"
//   DOZSplitFunctionName("main")                       → scope "", name "main"
//
// A demangled name does not tell a class from a namespace ("pf::RunLoop::main()" and
// "pf::detail::main()" read alike); DOZStackSymbolTable decides which scopes are classes.
#include <string>
#include <string_view>

struct DOZFunctionName {
  std::string scope;  // "" for a function at global scope
  std::string name;   // the function's own name: no parameters, qualifiers or ABI tags
};

// Cuts demangled text (or a plain C name) into scope and name. The return type of a template
// function, the parameter list, trailing qualifiers (const, volatile, &, &&, noexcept), clone
// marks (" [clone .cold]") and ABI tags ("[abi:cxx11]") are left out. An operator's name runs
// to the end ("operator<<", "operator std::string"); "::" inside template arguments,
// parentheses or braces ("{lambda()#1}") does not cut.
DOZFunctionName DOZSplitFunctionName(std::string_view demangled);

// The C++ runtime's demangling of `symbol`; the symbol itself when it is not a mangled C++
// name. A compiler clone mark (".cold", ".part.3", ".constprop.0", ".isra.0", …) is dropped.
std::string DOZDemangleSymbol(std::string_view symbol);

// `symbol` without a compiler clone mark, the name its original function has.
std::string_view DOZSymbolWithoutCloneMark(std::string_view symbol);

// True when the mangled name proves a non-static member function: one with cv- or
// ref-qualifiers ("_ZNK…", "_ZNR…"), which only non-static members can have.
bool DOZMangledNameIsQualifiedMember(std::string_view mangled);

// True for a constructor or destructor: the name is its scope's last part without template
// arguments, or that with "~" before it.
bool DOZIsConstructorOrDestructor(const DOZFunctionName& name);
