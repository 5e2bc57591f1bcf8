#include "LoadedAdapter.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace bench {

namespace {

// The real path of the file that holds address, or "" when none does.
std::string fileHolding(void* address) {
  Dl_info info{};
  if (address == nullptr || dladdr(address, &info) == 0 || info.dli_fname == nullptr) return "";
  char* real = realpath(info.dli_fname, nullptr);
  if (real == nullptr) return info.dli_fname;
  std::string path = real;
  std::free(real);
  return path;
}

std::string directoryOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? "" : path.substr(0, slash);
}

}  // namespace

bool nullAdapterLoaded() { return adapterLoadedFrom(ORVEX_NULL_ADAPTER_DIR); }

bool adapterLoadedFrom(const char* directory) {
  char* expected = realpath(directory, nullptr);
  const std::string wanted = expected != nullptr ? expected : directory;
  std::free(expected);

  // The program's own binding, and the device library's: a lookup through
  // the device library's handle searches it and its dependencies.
  const std::string global = fileHolding(dlsym(RTLD_DEFAULT, "Tarvish_Send"));
  void* device = dlopen("libOrvex.so.1", RTLD_NOW | RTLD_NOLOAD);
  const std::string fromDevice =
      device != nullptr ? fileHolding(dlsym(device, "Tarvish_Send")) : "";
  if (device != nullptr) dlclose(device);

  const bool ok = directoryOf(global) == wanted && directoryOf(fromDevice) == wanted;
  std::fprintf(stderr, "adapter library: %s (device library binds %s)%s\n", global.c_str(),
               fromDevice.c_str(), ok ? "" : " -- NOT the adapter expected");
  return ok;
}

}  // namespace bench
