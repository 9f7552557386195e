#include "compress_cli/summary_table.hpp"

#include "i18n/formatters.hpp"
#include "i18n/texts_compression.hpp"
#include "platform/files.hpp"

#include <array>

namespace ondrel {
namespace {

constexpr std::size_t columns = 6;
using Row = std::array<std::string, columns>;
// Sizes and times read best aligned on their right end.
constexpr std::array<bool, columns> right_aligned{false, false, true, true, true, false};

// Characters, not bytes: a UTF-8 continuation byte starts no character.
std::size_t characters(const std::string& text) {
    std::size_t count = 0;
    for (const char c : text) {
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    }
    return count;
}

std::string_view outcome_word(FileOutcome outcome) {
    switch (outcome) {
    case FileOutcome::Done:
        return tr(texts::cli_table_done);
    case FileOutcome::NotAnalysed:
        return tr(texts::cli_table_not_analysed);
    case FileOutcome::Failed:
        break;
    }
    return tr(texts::cli_table_failed);
}

Row row_of(const FileSummary& file) {
    const auto size = [](const std::optional<std::uint64_t>& bytes) {
        return bytes ? format_size(*bytes) : std::string("—");
    };
    return {path_to_utf8(file.input.filename()),
            file.output.empty() ? std::string("—") : path_to_utf8(file.output.filename()),
            size(file.size_before),
            size(file.size_after),
            format_duration(file.seconds),
            std::string(outcome_word(file.outcome))};
}

} // namespace

std::string summary_table(const std::vector<FileSummary>& files) {
    std::vector<Row> rows{
        {std::string(tr(texts::cli_table_file)), std::string(tr(texts::cli_table_output)),
         std::string(tr(texts::cli_table_before)), std::string(tr(texts::cli_table_after)),
         std::string(tr(texts::cli_table_time)), std::string(tr(texts::cli_table_result))}};
    for (const FileSummary& file : files) {
        rows.push_back(row_of(file));
    }
    std::array<std::size_t, columns> widths{};
    for (const Row& row : rows) {
        for (std::size_t c = 0; c < columns; ++c) {
            widths[c] = std::max(widths[c], characters(row[c]));
        }
    }
    std::string table;
    for (const Row& row : rows) {
        std::string line;
        for (std::size_t c = 0; c < columns; ++c) {
            const std::string padding(widths[c] - characters(row[c]), ' ');
            line += c == 0 ? "" : "  ";
            line += right_aligned[c] ? padding + row[c] : row[c] + padding;
        }
        while (!line.empty() && line.back() == ' ') {
            line.pop_back();
        }
        table += line + "\n";
    }
    return table;
}

} // namespace ondrel
