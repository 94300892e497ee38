#include "platform/collation.h"

#include <QCollator>
#include <algorithm>
#include <numeric>
#include <QLocale>
#include <QString>

#include "text/cp1251.h"

namespace tandrel {

namespace {

// One collator for the whole run, with a fixed locale so that the order does
// not depend on the machine: Latin before Cyrillic, ё beside е, case ignored.
const QCollator& Collator() {
    static const QCollator* const collator = [] {
        auto* c = new QCollator(QLocale(QLocale::English, QLocale::UnitedStates));
        c->setCaseSensitivity(Qt::CaseInsensitive);
        c->setNumericMode(false);
        c->setIgnorePunctuation(false);
        (void)c->compare(QStringLiteral("a"), QStringLiteral("b"));  // finish the lazy set-up now
        return c;
    }();
    return *collator;
}

QString ToQString(const std::string& cp1251) {
    std::string utf8 = Cp1251ToUtf8(cp1251);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace

int CompareTextLocale(const std::string& a, const std::string& b) {
    return Collator().compare(ToQString(a), ToQString(b));
}

void SortTextLocale(std::vector<std::string>& texts) {
    std::vector<QCollatorSortKey> keys;
    keys.reserve(texts.size());
    for (const std::string& t : texts) keys.push_back(Collator().sortKey(ToQString(t)));
    std::vector<std::size_t> order(texts.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&keys](std::size_t a, std::size_t b) { return keys[a].compare(keys[b]) < 0; });
    std::vector<std::string> sorted;
    sorted.reserve(texts.size());
    for (std::size_t i : order) sorted.push_back(std::move(texts[i]));
    texts = std::move(sorted);
}

}  // namespace tandrel
