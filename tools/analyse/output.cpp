// SPDX-License-Identifier: GPL-3.0-or-later
#include "output.h"

#include "analysis/summary.h"
#include "core/expectation.h"

#include <array>
#include <charconv>

namespace cr::batch {

using namespace analysis;

namespace {

constexpr std::array<const char*, 3> kPairs{"rs", "mp", "gu"};
constexpr int kMeanDecimals = 4;
constexpr int kExpectedDecimals = 6;

std::string jsonValue(const std::optional<std::string>& text) {
    return text ? jsonString(*text) : "null";
}

// A table's name in the file column.
std::string fileColumn(const SummaryTable& table) {
    if (table.file) {
        return escaped(*table.file);
    }
    if (table.seed) {
        return "(simulation, seed " + std::to_string(*table.seed) + ")";
    }
    return "(all files)";
}

} // namespace

std::string shortest(double value) {
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

std::string fixed(double value, int decimals) {
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed, decimals);
    return std::string(buffer.data(), result.ptr);
}

namespace {

constexpr char kHex[] = "0123456789abcdef";

void appendHexByte(std::string& out, unsigned char c) {
    out += "\\x";
    out += kHex[c >> 4];
    out += kHex[c & 0xF];
}

// The length of the valid UTF-8 character at text[i], or 0 if there is none.
std::size_t utf8Length(std::string_view text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char c = byte(i);
    std::size_t length = 0;
    unsigned min = 0;
    unsigned cp = 0;
    if (c < 0x80) {
        return 1;
    } else if ((c & 0xE0) == 0xC0) {
        length = 2, min = 0x80, cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
        length = 3, min = 0x800, cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
        length = 4, min = 0x10000, cp = c & 0x07;
    } else {
        return 0;
    }
    if (i + length > text.size()) {
        return 0;
    }
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) {
            return 0;
        }
        cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    const bool surrogate = cp >= 0xD800 && cp <= 0xDFFF;
    return cp < min || cp > 0x10FFFF || surrogate ? 0 : length;
}

// Copies text, handing every byte below 0x20, DEL and every byte outside a
// valid UTF-8 character to escape.
template <typename Escape> std::string copyEscaped(std::string_view text, Escape escape) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const std::size_t length = utf8Length(text, i);
        if (length == 0 || c < 0x20 || c == 0x7F || c == '\\' || c == '"') {
            escape(out, c, length != 0);
            ++i;
        } else {
            out.append(text.substr(i, length));
            i += length;
        }
    }
    return out;
}

} // namespace

std::string jsonString(std::string_view text) {
    return '"' +
           copyEscaped(text,
                       [](std::string& out, unsigned char c, bool valid) {
                           if (!valid) {
                               out += '\\'; // the JSON text \\xNN, read back as \xNN
                               appendHexByte(out, c);
                           } else if (c == '"' || c == '\\') {
                               out += '\\';
                               out += static_cast<char>(c);
                           } else {
                               out += "\\u00";
                               out += kHex[c >> 4];
                               out += kHex[c & 0xF];
                           }
                       }) +
           '"';
}

std::string escaped(std::string_view text) {
    return copyEscaped(text, [](std::string& out, unsigned char c, bool) {
        switch (c) {
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '"':
            out += '"';
            break;
        default:
            appendHexByte(out, c);
        }
    });
}

void writeReplayHeader(std::ostream& out) {
    out << "file\tstep\tstatistisch\texpected";
    for (const char* kind : {"leer", "einmal"}) {
        for (const char* pair : kPairs) {
            out << '\t' << kind << '_' << pair;
        }
    }
    out << '\n';
}

void writeSummaryHeader(std::ostream& out) {
    out << "file\truns\tstep\tstatistisch\texpected\tsigma";
    for (const char* kind : {"leer", "einmal"}) {
        for (const char* pair : kPairs) {
            out << '\t' << kind << '_' << pair << "_mean\t" << kind << '_' << pair << "_sd";
        }
    }
    out << '\n';
}

namespace {

// Appends the pieces to a line, one after the other.
template <typename... Pieces> void append(std::string& line, const Pieces&... pieces) {
    (line.append(pieces), ...);
}

std::string number(long long value) {
    return std::to_string(value);
}

} // namespace

void writeReplay(std::ostream& out, const ReplayTable& table, int steprate, bool json) {
    if (!json) {
        const std::string file = escaped(table.file);
        for (const StepResult& s : table.steps) {
            out << file << '\t' << s.step << '\t' << shortest(s.statistisch) << '\t'
                << fixed(expectedCount(steprate, s.step), kExpectedDecimals);
            for (std::size_t c = 0; c < kCounters; ++c) {
                out << '\t' << counterOf(s, c);
            }
            out << '\n';
        }
        return;
    }
    std::string line;
    append(line, "{\"file\":", jsonString(table.file), ",\"steprate\":", number(steprate),
           ",\"spins\":", number(table.spins), ",\"steps\":[");
    for (std::size_t k = 0; k < table.steps.size(); ++k) {
        const StepResult& s = table.steps[k];
        append(line, k == 0 ? "{" : ",{", "\"step\":", number(s.step),
               ",\"statistisch\":", shortest(s.statistisch),
               ",\"expected\":", shortest(expectedCount(steprate, s.step)));
        for (std::size_t c = 0; c < kCounters; ++c) {
            append(line,
                   c == 0   ? ",\"leer\":["
                   : c == 3 ? "],\"einmal\":["
                            : ",",
                   number(counterOf(s, c)));
        }
        line += "]}";
    }
    out << line << "]}\n";
}

void writeSummary(std::ostream& out, const SummaryTable& table, int steprate, bool json) {
    const RunStatistics& stats = *table.stats;
    // The rows the window shows, too; none without runs.
    const std::vector<SummaryRow> rows = summaryRows(stats, steprate);
    if (!json) {
        const std::string file = fileColumn(table);
        for (const SummaryRow& row : rows) {
            out << file << '\t' << stats.runs() << '\t' << row.step << '\t'
                << shortest(row.statistisch) << '\t' << fixed(row.expected, kExpectedDecimals)
                << '\t' << fixed(row.sigma, kExpectedDecimals);
            for (std::size_t c = 0; c < kCounters; ++c) {
                out << '\t' << fixed(row.mean[c], kMeanDecimals) << '\t'
                    << fixed(row.sd[c], kMeanDecimals);
            }
            out << '\n';
        }
        return;
    }
    std::string line;
    append(line, "{\"file\":", jsonValue(table.file));
    if (!table.pooledFiles.empty()) {
        for (std::size_t i = 0; i < table.pooledFiles.size(); ++i) {
            append(line, i == 0 ? ",\"files\":[" : ",", jsonString(table.pooledFiles[i]));
        }
        line += "]";
    }
    if (table.seed) {
        append(line, ",\"seed\":", std::to_string(*table.seed));
    }
    append(line, ",\"steprate\":", number(steprate), ",\"spins\":", number(table.runLength),
           ",\"runs\":", number(stats.runs()), ",\"steps\":[");
    for (const SummaryRow& row : rows) {
        append(line, row.step == 1 ? "{" : ",{", "\"step\":", number(row.step),
               ",\"statistisch\":", shortest(row.statistisch),
               ",\"expected\":", shortest(row.expected), ",\"sigma\":", shortest(row.sigma));
        for (std::size_t c = 0; c < kCounters; ++c) {
            append(line,
                   c == 0   ? ",\"leer\":[["
                   : c == 3 ? "],\"einmal\":[["
                            : ",[",
                   shortest(row.mean[c]), ",", shortest(row.sd[c]), ",", shortest(row.deviation[c]),
                   "]");
        }
        for (std::size_t pair = 0; pair < row.emptyShare.size(); ++pair) {
            append(line, pair == 0 ? "],\"empty_share\":[" : ",", shortest(row.emptyShare[pair]));
        }
        append(line, "],\"empty_share_exact\":", shortest(row.emptyShareExact), "}");
    }
    out << line << "]}\n";
}

void reportUnreadable(std::ostream& out, std::ostream& err, std::string_view file,
                      const ReadProblem& problem) {
    out << std::flush;
    err << kName << escaped(file) << ": " << escaped(readMessage(problem, Language::English))
        << std::endl;
}

} // namespace cr::batch
