#include "support/shell_seam_recording.hpp"

#include "main/shell_seam.hpp"

namespace ondrel {

testing::ShellRecord& testing::shell_record() {
    static ShellRecord record;
    return record;
}

void shell_language_changed(Language language) {
    testing::shell_record().language_changes.push_back(language);
}

} // namespace ondrel
