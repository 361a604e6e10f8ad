#include "base/FailureText.h"

#include <cerrno>

#include "base/UiText.h"

namespace {

struct ReasonText {
  int error;
  int textId;
};

constexpr ReasonText kReasons[] = {
    {ENOSPC, 1300}, {EDQUOT, 1301},  {EACCES, 1302}, {EPERM, 1302},  {EROFS, 1303},
    {ENOENT, 1304}, {ENOTDIR, 1304}, {EISDIR, 1305}, {EFBIG, 1306},  {EIO, 1307},
    {EBUSY, 1308},  {ENODEV, 1309},  {ENXIO, 1309},  {EEXIST, 1310}, {ENAMETOOLONG, 1311},
};
constexpr int kOtherReason = 1312;

}  // namespace

std::string FailureReason(int error) {
  for (const ReasonText& r : kReasons)
    if (r.error == error) return UiText(r.textId);
  return UiText(kOtherReason) + std::to_string(error);
}
