#include "link/PortMapping.h"

#include <grp.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <filesystem>
#include <set>
#include <system_error>

#include "base/FailureText.h"
#include "base/UiText.h"

namespace fs = std::filesystem;

namespace {

// "ttyUSB12" with prefix "ttyUSB" gives 12; anything else nothing.
std::optional<long> NumberAfter(const std::string& name, const std::string& prefix) {
  if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) return std::nullopt;
  long value = 0;
  const char* first = name.data() + prefix.size();
  const char* last = name.data() + name.size();
  const auto [end, ec] = std::from_chars(first, last, value);
  if (ec != std::errc() || end != last || value < 0) return std::nullopt;
  return value;
}

// The devices of root whose names are prefix + number, ordered by the number.
std::vector<std::string> NumberedDevices(const fs::path& root, const std::string& prefix) {
  std::vector<std::pair<long, std::string>> found;
  std::error_code ec;
  for (fs::directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (const auto n = NumberAfter(name, prefix)) found.emplace_back(*n, it->path().string());
  }
  std::sort(found.begin(), found.end());
  std::vector<std::string> paths;
  for (auto& f : found) paths.push_back(std::move(f.second));
  return paths;
}

}  // namespace

std::vector<std::string> PresentSerialDevices(const std::string& devRoot) {
  const fs::path root(devRoot);
  std::vector<std::string> devices;
  std::set<std::string> taken;
  auto add = [&](const std::string& path) {
    if (taken.insert(path).second) devices.push_back(path);
  };

  std::vector<std::string> byId;
  std::error_code ec;
  for (fs::directory_iterator it(root / "serial" / "by-id", ec), end; !ec && it != end; it.increment(ec))
    byId.push_back(it->path().filename().string());
  std::sort(byId.begin(), byId.end());
  for (const std::string& name : byId) {
    // The names are links to ../../ttyUSB0 and the like; the device itself is opened, so
    // that the same adapter is not listed twice.
    std::error_code linkError;
    const fs::path target = fs::read_symlink(root / "serial" / "by-id" / name, linkError);
    if (linkError) continue;
    const fs::path device = root / target.filename();
    if (fs::exists(device, linkError)) add(device.string());
  }
  for (const char* prefix : {"ttyUSB", "ttyACM"})
    for (const std::string& path : NumberedDevices(root, prefix)) add(path);
  for (const std::string& path : NumberedDevices(root, "ttyS")) add(path);
  return devices;
}

std::optional<std::string> MappedSerialDevice(int port, const std::string& devRoot) {
  if (port < 1) return std::nullopt;
  const std::vector<std::string> devices = PresentSerialDevices(devRoot);
  if (static_cast<std::size_t>(port) > devices.size()) return std::nullopt;
  return devices[static_cast<std::size_t>(port - 1)];
}

std::string SerialByIdName(const std::string& device, const std::string& devRoot) {
  std::error_code ec;
  const fs::path wanted = fs::weakly_canonical(device, ec);
  for (fs::directory_iterator it(fs::path(devRoot) / "serial" / "by-id", ec), end; !ec && it != end;
       it.increment(ec)) {
    std::error_code linkError;
    const fs::path target = fs::weakly_canonical(it->path(), linkError);
    if (!linkError && target == wanted) return it->path().filename().string();
  }
  return {};
}

std::string PortListLine(int port, const std::string& device, const std::string& devRoot) {
  std::string line = "COM" + std::to_string(port) + "  " + (device.empty() ? "-" : device);
  std::error_code ec;
  if (device.empty() || !fs::exists(device, ec)) return line + "  (" + UiText(1340) + ")";
  const std::string byId = SerialByIdName(device, devRoot);
  return byId.empty() ? line : line + "  " + byId;
}

std::string DeviceGroupName(const std::string& device) {
  struct stat st {};
  if (::stat(device.c_str(), &st) != 0) return {};
  struct group entry {};
  struct group* found = nullptr;
  std::vector<char> buffer(16384);
  if (::getgrgid_r(st.st_gid, &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr)
    return {};
  return found->gr_name;
}

std::string PortFailureLine(const std::string& device, int error, const std::string& group) {
  const std::string start = UiText(1330) + device;
  switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO: return start + UiText(1331);
    case EBUSY: return start + UiText(1332);
    case EACCES:
    case EPERM:
      if (group == "dialout") return start + UiText(1333);
      if (!group.empty()) return start + UiText(1334) + group;
      break;
    default: break;
  }
  return start + UiText(1335) + FailureReason(error);
}
