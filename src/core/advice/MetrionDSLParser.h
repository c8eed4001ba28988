#pragma once
// Reads the champion-analysis reply of the statistics service (a call-like notation: named
// records with argument lists, bracketed lists, quoted strings, bare numbers) into the pieces of
// a popular build. It does not parse the notation as a whole: it looks for the few records it
// needs and reads only their leading arguments, so unknown records and extra arguments pass.

#include "core/advice/MetaBuild.h"

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>
#include <vector>

namespace tolvane {

class MetrionDSLParser {
public:
    struct Parsed {
        std::vector<MetaItem> starterItems;
        std::optional<MetaItem> boots;
        std::vector<MetaItem> coreItems; // never empty
        std::vector<std::vector<MetaItem>> situationalSlots;
        std::optional<QString> primaryRune;
        std::optional<MetaRunePage> runePage;
        std::vector<CounterEntry> weakCounters; // at most 5

        bool operator==(const Parsed&) const = default;
    };

    // Nothing when the text is no champion analysis or its core items are missing or unreadable;
    // every other record that is missing or unreadable leaves only its own field empty.
    std::optional<Parsed> parse(QStringView text) const;

    // The number readings of the notation, shared with the other readers of its replies.
    // An optional sign and ASCII digits only, fitting 64 bits.
    static std::optional<int64_t> readInteger(QStringView text);
    // C-locale notation, the whole text consumed ("0.55", ".5" and "5." read; "1.2.3" does not).
    static std::optional<double> readDecimal(QStringView text);
    // The inside of a bracketed id list; nothing when a piece is not an integer.
    static std::optional<std::vector<int64_t>> readIdList(QStringView text);
    // Every quoted text, empty ones included; no escaping.
    static std::vector<QString> readQuotedList(QStringView text);
};

} // namespace tolvane
