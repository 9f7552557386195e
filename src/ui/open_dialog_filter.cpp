#include "ui/open_dialog_filter.hpp"

#include "i18n/texts_menus.hpp"
#include "platform/text.hpp"

namespace ondrel {

std::u16string open_dialog_filter(std::string_view label, std::string_view pattern) {
    std::u16string filter;
    for (const std::string_view part :
         {label, pattern, tr(texts::dialog_all_files), std::string_view("*.*")}) {
        filter += utf8_to_utf16(part);
        filter.push_back(u'\0');
    }
    filter.push_back(u'\0');
    return filter;
}

std::string path_from_dialog_buffer(std::u16string_view buffer) {
    return utf16_to_utf8(buffer.substr(0, buffer.find(u'\0')));
}

} // namespace ondrel
