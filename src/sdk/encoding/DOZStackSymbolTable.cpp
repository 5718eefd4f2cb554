#include "sdk/encoding/DOZStackSymbolTable.h"

#include <dwarf.h>
#include <elfutils/libdw.h>
#include <fcntl.h>
#include <gelf.h>
#include <libelf.h>
#include <link.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <limits>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "sdk/encoding/DOZStackSymbolName.h"

namespace {

// Names handed out by the table: never freed, so a descriptor filled before a refresh stays
// readable.
struct TransparentHash {
  using is_transparent = void;
  size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

class NamePool {
 public:
  const char* intern(std::string_view text) {
    auto it = names_.find(text);
    if (it == names_.end()) it = names_.emplace(text).first;
    return it->c_str();
  }

 private:
  std::unordered_set<std::string, TransparentHash, std::equal_to<>> names_;
};

struct Image {
  std::string path;  // as the dynamic linker lists it; "" for the executable
  uintptr_t bias = 0;
  uintptr_t low = std::numeric_limits<uintptr_t>::max();  // extent of its loaded segments
  uintptr_t high = 0;

  struct Function {
    uintptr_t start;
    uint32_t nameOffset;  // into names
  };
  std::vector<Function> functions;  // by start
  std::string names;                // the symbols' names, each ending in NUL
  std::vector<DOZStackSymbolTable::Method> methods;  // in symbol-table order
};

bool isClassType(int tag) {
  return tag == DW_TAG_class_type || tag == DW_TAG_structure_type || tag == DW_TAG_union_type;
}

// A member function declaration is non-static when its first parameter is the artificial "this".
bool declaresStaticMember(Dwarf_Die* subprogram) {
  Dwarf_Die first;
  if (dwarf_child(subprogram, &first) != 0 || dwarf_tag(&first) != DW_TAG_formal_parameter) return true;
  Dwarf_Attribute attr;
  bool artificial = false;
  if (dwarf_attr(&first, DW_AT_artificial, &attr)) dwarf_formflag(&attr, &artificial);
  return !artificial;
}

using MemberKinds = std::unordered_map<std::string_view, bool>;  // linkage name → static

// The member function declarations under `parent`: namespaces and class types are entered,
// function bodies are not.
void collectMembers(Dwarf_Die* parent, bool inClass, MemberKinds& members) {
  Dwarf_Die child;
  if (dwarf_child(parent, &child) != 0) return;
  do {
    const int tag = dwarf_tag(&child);
    if (tag == DW_TAG_namespace) {
      collectMembers(&child, false, members);
    } else if (isClassType(tag)) {
      collectMembers(&child, true, members);
    } else if (tag == DW_TAG_subprogram && inClass) {
      Dwarf_Attribute attr;
      const char* linkage = dwarf_formstring(dwarf_attr(&child, DW_AT_linkage_name, &attr));
      if (!linkage) linkage = dwarf_formstring(dwarf_attr(&child, DW_AT_MIPS_linkage_name, &attr));
      if (linkage) members.emplace(linkage, declaresStaticMember(&child));
    }
  } while (dwarf_siblingof(&child, &child) == 0);
}

// Every unit's member declarations; empty when the file has no DWARF. The names point into
// the file's mapped sections: valid until dwarf_end.
MemberKinds readMembers(Dwarf* dwarf) {
  MemberKinds members;
  if (!dwarf) return members;
  Dwarf_CU* cu = nullptr;
  Dwarf_Die unitDie;
  while (dwarf_get_units(dwarf, cu, &cu, nullptr, nullptr, &unitDie, nullptr) == 0) {
    collectMembers(&unitDie, false, members);
  }
  return members;
}

// A constructor or destructor symbol names its kind in the mangled name (C1…C4, CI1, CI2,
// D0…D4 before the nested name's end); only those are worth demangling to check.
bool mayBeConstructorOrDestructor(std::string_view mangled) {
  for (std::string_view mark : {"C1E", "C2E", "C3E", "C4E", "CI1", "CI2", "D0E", "D1E", "D2E", "D4E"}) {
    if (mangled.find(mark) != std::string_view::npos) return true;
  }
  return false;
}

class FileHandles {
 public:
  explicit FileHandles(const char* path) {
    fd_ = open(path, O_RDONLY | O_CLOEXEC);
    if (fd_ >= 0) elf_ = elf_begin(fd_, ELF_C_READ_MMAP, nullptr);
    if (elf_ && elf_kind(elf_) == ELF_K_ELF) dwarf_ = dwarf_begin_elf(elf_, DWARF_C_READ, nullptr);
  }
  ~FileHandles() {
    if (dwarf_) dwarf_end(dwarf_);
    if (elf_) elf_end(elf_);
    if (fd_ >= 0) close(fd_);
  }
  FileHandles(const FileHandles&) = delete;
  FileHandles& operator=(const FileHandles&) = delete;

  Elf* elf() const { return elf_ && elf_kind(elf_) == ELF_K_ELF ? elf_ : nullptr; }
  Dwarf* dwarf() const { return dwarf_; }

 private:
  int fd_ = -1;
  Elf* elf_ = nullptr;
  Dwarf* dwarf_ = nullptr;
};

// The function symbols of `file` (loaded at `image.bias`) into `image`.
void readSymbols(const char* file, Image& image, NamePool& pool) {
  FileHandles handles(file);
  Elf* elf = handles.elf();
  if (!elf) return;

  Elf_Scn* table = nullptr;
  GElf_Shdr header{};
  for (Elf_Scn* scn = elf_nextscn(elf, nullptr); scn; scn = elf_nextscn(elf, scn)) {
    GElf_Shdr h;
    if (!gelf_getshdr(scn, &h)) continue;
    if (h.sh_type == SHT_SYMTAB || (h.sh_type == SHT_DYNSYM && !table)) {
      table = scn;
      header = h;
    }
  }
  Elf_Data* data = table ? elf_getdata(table, nullptr) : nullptr;
  if (!data || header.sh_entsize == 0) return;

  const MemberKinds members = readMembers(handles.dwarf());
  const size_t count = header.sh_size / header.sh_entsize;
  for (size_t i = 0; i < count; ++i) {
    GElf_Sym sym;
    if (!gelf_getsym(data, static_cast<int>(i), &sym)) continue;
    if (GELF_ST_TYPE(sym.st_info) != STT_FUNC || sym.st_shndx == SHN_UNDEF || sym.st_value == 0) continue;
    const char* name = elf_strptr(elf, header.sh_link, sym.st_name);
    if (!name || !*name) continue;
    const uintptr_t start = image.bias + sym.st_value;
    image.functions.push_back({start, static_cast<uint32_t>(image.names.size())});
    image.names.append(name).push_back('\0');

    const std::string_view mangled = DOZSymbolWithoutCloneMark(name);
    if (!mangled.starts_with("_ZN")) continue;  // not a nested name: not a member
    std::optional<bool> isStatic;
    if (auto it = members.find(mangled); it != members.end()) {
      isStatic = it->second;
    } else if (DOZMangledNameIsQualifiedMember(mangled)) {
      isStatic = false;
    } else if (!mayBeConstructorOrDestructor(mangled)) {
      continue;
    }
    const DOZFunctionName split = DOZSplitFunctionName(DOZDemangleSymbol(mangled));
    if (!isStatic && DOZIsConstructorOrDestructor(split)) isStatic = false;
    if (!isStatic || split.scope.empty()) continue;
    image.methods.push_back({start, pool.intern(split.scope), pool.intern(split.name), *isStatic});
  }
  std::stable_sort(image.functions.begin(), image.functions.end(),
                   [](const Image::Function& a, const Image::Function& b) { return a.start < b.start; });
}

struct LinkerCounters {
  unsigned long long adds = 0;
  unsigned long long subs = 0;
  bool operator==(const LinkerCounters&) const = default;
};

LinkerCounters currentCounters() {
  LinkerCounters counters;
  dl_iterate_phdr(
      [](dl_phdr_info* info, size_t size, void* data) {
        if (size >= offsetof(dl_phdr_info, dlpi_subs) + sizeof(info->dlpi_subs)) {
          *static_cast<LinkerCounters*>(data) = {info->dlpi_adds, info->dlpi_subs};
        }
        return 1;  // the counters are the same in every entry: one is enough
      },
      &counters);
  return counters;
}

// The loaded images as the linker lists them: path, bias and extent, no symbols yet.
std::vector<std::unique_ptr<Image>> listImages() {
  std::vector<std::unique_ptr<Image>> images;
  dl_iterate_phdr(
      [](dl_phdr_info* info, size_t, void* data) {
        auto image = std::make_unique<Image>();
        image->path = info->dlpi_name ? info->dlpi_name : "";
        image->bias = info->dlpi_addr;
        for (int i = 0; i < info->dlpi_phnum; ++i) {
          const ElfW(Phdr)& ph = info->dlpi_phdr[i];
          if (ph.p_type != PT_LOAD) continue;
          image->low = std::min<uintptr_t>(image->low, info->dlpi_addr + ph.p_vaddr);
          image->high = std::max<uintptr_t>(image->high, info->dlpi_addr + ph.p_vaddr + ph.p_memsz);
        }
        static_cast<std::vector<std::unique_ptr<Image>>*>(data)->push_back(std::move(image));
        return 0;
      },
      &images);
  return images;
}

}  // namespace

struct DOZStackSymbolTable::State {
  std::mutex mutex;
  bool read = false;
  LinkerCounters counters;
  std::vector<std::unique_ptr<Image>> images;  // linker order
  std::vector<Method> methods;                  // by start; table order among equal starts
  NamePool pool;
  std::unordered_map<std::string, const char*, TransparentHash, std::equal_to<>> plainNames;  // symbol → plain name

  void refresh();
};

void DOZStackSymbolTable::State::refresh() {
  const LinkerCounters now = currentCounters();
  if (read && now == counters) return;

  elf_version(EV_CURRENT);
  std::vector<std::unique_ptr<Image>> listed = listImages();
  for (size_t i = 0; i < listed.size(); ++i) {
    auto& image = listed[i];
    auto kept = std::find_if(images.begin(), images.end(), [&](const std::unique_ptr<Image>& old) {
      return old && old->path == image->path && old->bias == image->bias;
    });
    if (kept != images.end()) {
      image = std::move(*kept);
      continue;
    }
    // The executable is listed first and without a path; the kernel's vDSO has no file.
    const std::string file = i == 0 && image->path.empty() ? "/proc/self/exe" : image->path;
    if (!file.empty()) readSymbols(file.c_str(), *image, pool);
  }
  images = std::move(listed);

  // The class table: classes at their first method, class methods before instance methods.
  struct ClassRow {
    std::vector<const Method*> classMethods;
    std::vector<const Method*> instanceMethods;
  };
  std::vector<ClassRow> rows;
  std::unordered_map<const char*, size_t> rowOfClass;  // interned names: one pointer per class
  for (const auto& image : images) {
    for (const Method& m : image->methods) {
      auto [it, added] = rowOfClass.emplace(m.className, rows.size());
      if (added) rows.emplace_back();
      auto& list = m.isClassMethod ? rows[it->second].classMethods : rows[it->second].instanceMethods;
      list.push_back(&m);
    }
  }
  methods.clear();
  for (const ClassRow& row : rows) {
    for (const Method* m : row.classMethods) methods.push_back(*m);
    for (const Method* m : row.instanceMethods) methods.push_back(*m);
  }
  std::stable_sort(methods.begin(), methods.end(),
                   [](const Method& a, const Method& b) { return a.start < b.start; });
  counters = now;
  read = true;
}

void DOZStackSymbolTable::withCurrent(const std::function<void(DOZStackSymbolTable&)>& use) {
  State& state = shared();
  std::lock_guard<std::mutex> lock(state.mutex);
  state.refresh();
  DOZStackSymbolTable table(state);
  use(table);
}

void DOZStackSymbolTable::discard() {
  State& state = shared();
  std::lock_guard<std::mutex> lock(state.mutex);
  state.images.clear();
  state.methods.clear();
  state.read = false;
}

const DOZStackSymbolTable::Method* DOZStackSymbolTable::nearestMethod(uintptr_t address) const {
  const auto& methods = state_.methods;
  auto above = std::upper_bound(methods.begin(), methods.end(), address,
                                [](uintptr_t a, const Method& m) { return a < m.start; });
  if (above == methods.begin()) return nullptr;
  const uintptr_t start = std::prev(above)->start;
  return &*std::lower_bound(methods.begin(), above, start,
                            [](const Method& m, uintptr_t s) { return m.start < s; });
}

bool DOZStackSymbolTable::nearestFunction(uintptr_t address, uintptr_t& start, const char*& name) {
  for (const auto& image : state_.images) {
    if (address < image->low || address >= image->high) continue;
    const auto& functions = image->functions;
    auto above = std::upper_bound(functions.begin(), functions.end(), address,
                                  [](uintptr_t a, const Image::Function& f) { return a < f.start; });
    if (above == functions.begin()) return false;
    const Image::Function& f = *std::prev(above);
    start = f.start;
    name = plainName(image->names.c_str() + f.nameOffset);
    return true;
  }
  return false;
}

const char* DOZStackSymbolTable::plainName(const char* symbol) {
  auto it = state_.plainNames.find(std::string_view(symbol));
  if (it != state_.plainNames.end()) return it->second;
  const DOZFunctionName split = DOZSplitFunctionName(DOZDemangleSymbol(symbol));
  const char* plain = state_.pool.intern(split.scope.empty() ? split.name : split.scope + "::" + split.name);
  state_.plainNames.emplace(symbol, plain);
  return plain;
}

// Never destroyed: a trace may be asked for while the process winds down.
DOZStackSymbolTable::State& DOZStackSymbolTable::shared() {
  static auto* state = new State;
  return *state;
}
