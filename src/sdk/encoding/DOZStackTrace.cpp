#include "sdk/encoding/DOZStackTrace.h"

#include <dlfcn.h>
#include <execinfo.h>

#include <cstdarg>
#include <cstdio>
#include <limits>
#include <memory>
#include <new>
#include <string_view>

#include "platform/base/Url.h"
#include "sdk/encoding/DOZStackSymbolTable.h"
#include "sdk/encoding/DOZStackTracePrivate.h"

namespace {

// The last component of `path`, or "??" when there is none or it is not UTF-8 text.
std::string fileColumn(const char* path) {
  if (!path) return "??";
  std::string_view p(path);
  if (!pf::Url::isValidUtf8(p)) return "??";
  while (p.size() > 1 && p.ends_with('/')) p.remove_suffix(1);
  const size_t slash = p.find_last_of('/');
  if (slash != std::string_view::npos && p.size() > 1) p.remove_prefix(slash + 1);
  return std::string(p);
}

// Appends printf's text of `format` to `out`: one pass when the line fits a small buffer, as
// nearly all do.
__attribute__((format(printf, 2, 3))) void appendFormat(std::string& out, const char* format, ...) {
  char small[256];
  va_list args;
  va_start(args, format);
  va_list again;
  va_copy(again, args);
  const int n = std::vsnprintf(small, sizeof small, format, args);
  va_end(args);
  if (n >= 0 && static_cast<size_t>(n) < sizeof small) {
    out.append(small, static_cast<size_t>(n));
  } else if (n >= 0) {
    const size_t at = out.size();
    out.resize(at + static_cast<size_t>(n) + 1);
    std::vsnprintf(out.data() + at, static_cast<size_t>(n) + 1, format, again);
    out.resize(at + static_cast<size_t>(n));  // vsnprintf's NUL is not part of the text
  }
  va_end(again);
}

// glibc's printf writes "%0*p" as "0x" and zero-padded hexadecimal digits; GCC warns that the
// "0" flag is not standard for %p.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat"
void appendLine(std::string& out, unsigned index, const DOZStackAddressDescriptor& d) {
  const std::string file = fileColumn(d.fileName);
  const char* symbol = d.symbolName ? d.symbolName : "??";
  constexpr int kAddressWidth = 10;
  if (d.className) {
    appendFormat(out, "#%-2u %-35s %0*p %s[%s %s]", index, file.c_str(), kAddressWidth, d.address,
                 d.isClassMethod ? "+" : "-", d.className, symbol);
  } else {
    appendFormat(out, "#%-2u %-35s %0*p %s()", index, file.c_str(), kAddressWidth, d.address, symbol);
  }
}
#pragma GCC diagnostic pop

void describe(DOZStackSymbolTable& table, const void* address, DOZStackAddressDescriptor& d) {
  const auto a = reinterpret_cast<uintptr_t>(address);
  d = DOZStackAddressDescriptor{};
  d.address = address;
  uintptr_t best = std::numeric_limits<uintptr_t>::max();
  if (const auto* m = table.nearestMethod(a)) {
    best = a - m->start;
    d.symbolName = m->name;
    d.className = m->className;
    d.isClassMethod = m->isClassMethod;
  }
  Dl_info info{};
  if (dladdr(address, &info) != 0) {
    d.fileName = info.dli_fname;
    uintptr_t start = 0;
    const char* name = nullptr;
    if (info.dli_sname && info.dli_saddr) {
      start = reinterpret_cast<uintptr_t>(info.dli_saddr);
      name = info.dli_sname;
    } else {
      table.nearestFunction(a, start, name);  // the image's own symbols stand in
    }
    if (name && a - start < best) {
      d.symbolName = table.plainName(name);
      d.className = nullptr;
      d.isClassMethod = false;
    }
  }
  if (!d.symbolName) {
    d.symbolName = "???";
    d.className = nullptr;
    d.isClassMethod = false;
  }
}

}  // namespace

unsigned DOZGetStackAddressDescriptorsForAddresses(const void* const* addresses,
                                                   DOZStackAddressDescriptor* descriptors, unsigned count) {
  if (!addresses || !descriptors || count == 0) return 0;
  DOZStackSymbolTable::withCurrent([&](DOZStackSymbolTable& table) {
    for (unsigned i = 0; i < count; ++i) describe(table, addresses[i], descriptors[i]);
  });
  return count;
}

std::string DOZStackTraceFromAddressDescriptors(const DOZStackAddressDescriptor* descriptors, unsigned count) {
  std::string out;
  if (!descriptors) return out;
  for (unsigned i = 0; i < count; ++i) {
    if (i > 0) out += '\n';
    appendLine(out, i, descriptors[i]);
  }
  return out;
}

std::string DOZStackTraceFromReturnAddresses(const void* const* addresses, unsigned count) {
  if (!addresses || count == 0) return "";
  std::unique_ptr<DOZStackAddressDescriptor[]> descriptors(new (std::nothrow) DOZStackAddressDescriptor[count]);
  if (!descriptors) return "";
  const unsigned filled = DOZGetStackAddressDescriptorsForAddresses(addresses, descriptors.get(), count);
  if (filled <= 1) return "";
  return DOZStackTraceFromAddressDescriptors(descriptors.get() + 1, filled - 1);
}

// Not inlined: its own frame is the one left out.
__attribute__((noinline)) std::string DOZStackTrace() {
  // Where the caller's frame starts in the trace. Frames above our own — a sanitizer's wrapper
  // around backtrace() — are left out with it.
  const void* caller = __builtin_return_address(0);
  // backtrace() says how many frames it wrote, not how many there are: grow until it has room.
  constexpr unsigned kMostFrames = 1u << 20;
  for (unsigned capacity = 64;; capacity *= 2) {
    std::unique_ptr<void*[]> addresses(new (std::nothrow) void*[capacity]);
    if (!addresses) return "";
    const int n = backtrace(addresses.get(), static_cast<int>(capacity));
    if (n <= 0) return "";
    if (static_cast<unsigned>(n) < capacity || capacity >= kMostFrames) {
      int own = 0;
      for (int i = 1; i < n; ++i) {
        if (addresses[i] == caller) {
          own = i - 1;
          break;
        }
      }
      return DOZStackTraceFromReturnAddresses(addresses.get() + own, static_cast<unsigned>(n - own));
    }
  }
}
