#include "tools/checker/media_check.h"

namespace vorn::check {

void checkMedia(const QString&, Report&) {}

}  // namespace vorn::check
