#include "cli/streamprompter.h"

#include "text/cp1251.h"

namespace tandrel {

void StreamPrompter::Line(const std::string& text) { out_ << prefix_ << Cp1251ToUtf8(text) << "\n"; }

}  // namespace tandrel
