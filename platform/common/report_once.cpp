#include "platform/common/report_once.h"

#include <cerrno>
#include <cstdio>
#include <mutex>
#include <set>

#include "platform/common/immortal.h"

namespace win32 {
namespace {

struct Reported {
  std::mutex mutex;
  std::set<std::string> lines;
};

}  // namespace

void ReportOnce(const std::string& line) {
  static Immortal<Reported> reported;
  std::lock_guard lock(reported->mutex);
  if (!reported->lines.insert(line).second) return;
  Report(line);
}

void Report(const std::string& line) { std::fprintf(stderr, "%s: %s\n", program_invocation_short_name, line.c_str()); }

}  // namespace win32
