// Criteria merging: a base statement, criteria and string parameters, in
// sections separated by lines of "--".
#include "support/TCriteriaQuery.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const QStringList lines = text.split(QLatin1Char('\n'));
    TCriteriaQuery q;
    int section = 0;
    for (const QString& line : lines) {
        if (line == QLatin1String("--")) {
            ++section;
            continue;
        }
        if (section == 0) {
            q.BaseSQL() << line;
        } else if (section == 1) {
            TCriterionItem* item = q.Criteria().Add();
            item->setEnabled(!line.startsWith(QLatin1Char('!')));
            item->setName(line.section(QLatin1Char(':'), 0, 0));
            item->setCriterion(line.section(QLatin1Char(':'), 1));
        } else if (q.StringParams().size() < 16) {
            q.StringParams().push_back({line.section(QLatin1Char('='), 0, 0), line.section(QLatin1Char('='), 1)});
        }
    }
    q.MergeCriteria();
    (void)TCriteriaQuery::FindKeywordLine(q.sql(), QStringLiteral("WHERE"));
    for (int i = 0; i < q.Criteria().Count(); ++i)
        (void)q.Criteria().GetItem(i)->DisplayName();
    return 0;
}
