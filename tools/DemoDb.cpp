// Writes the SQL that fills a demo factory database: sectors, employees,
// products and their standard times, shift rows, production tickets, cutting
// tickets and unit box labels for the 31 days that end on the given day.
//
//   tolvaneo-demo-db [--end YYYY-MM-DD] [--now HH:MM] [--scale N] [--sectors N] [--harder] [--fresh] > data.sql
//
// --harder makes the month that costs the generation run the most besides
// fetching: 400 products, sectors from 06 on grouped under 02 with a third
// of their standard times left to the grouping sector (the product-time
// lookup), more overtime, and a fifth of the employees working in a second
// sector too.
//
// --fresh leaves the last sector and the last employee of every sector out
// of every day but the last, so that the last day introduces them.
//
// The numbers come from a fixed pseudo-random sequence, so the same
// arguments always give the same database.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDate>
#include <QHash>
#include <QTextStream>
#include <QTime>

#include <cstdint>
#include <cstdio>

namespace {

class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint32_t next()
    {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return std::uint32_t(state_ >> 33);
    }
    int between(int lo, int hi) { return lo + int(next() % std::uint32_t(hi - lo + 1)); }

private:
    std::uint64_t state_;
};

struct Sector {
    QString code;
    QString name;
    int employees;
};

// Cutting (01) and shipping (05) report their own kinds of work; every other
// sector reports production tickets.
QList<Sector> makeSectors(int count)
{
    QList<Sector> sectors = {{"01", "Corte", 5}, {"02", "Costura", 8}, {"03", "Montagem", 7}, {"04", "Acabamento", 6},
                             {"05", "Expedição", 4}};
    for (int i = 6; i <= std::min(99, count); ++i)
        sectors.append({QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0')), QStringLiteral("Produção %1").arg(i), 6});
    return sectors;
}

const char* kFirstNames[] = {"Ana", "João", "Maria", "José", "Francisca", "Antônio", "Adriana", "Carlos", "Juliana",
                             "Paulo", "Márcia", "Lucas", "Fernanda", "Luiz", "Patrícia", "Marcos", "Aline", "Rafael",
                             "Sandra", "Gabriel", "Camila", "Pedro", "Cláudia", "Daniel", "Simone", "Sérgio"};
const char* kLastNames[] = {"Silva", "Santos", "Oliveira", "Souza", "Rodrigues", "Ferreira", "Alves", "Pereira",
                            "Lima", "Gomes", "Ribeiro", "Carvalho", "Conceição", "Araújo", "Melo", "Barbosa"};

QString ts(const QDate& d, const QTime& t)
{
    return QLatin1Char('\'') + d.toString(Qt::ISODate) + QLatin1Char(' ') + t.toString(QStringLiteral("HH:mm:ss")) +
           QLatin1Char('\'');
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    QCommandLineOption endOpt("end", "Last day of the data (default: today).", "YYYY-MM-DD");
    QCommandLineOption nowOpt("now", "Time of day up to which the last day has tickets (default: now).", "HH:MM");
    QCommandLineOption scaleOpt("scale", "Employees per sector times N (default 1).", "N", "1");
    QCommandLineOption sectorsOpt("sectors", "Number of sectors, at least 5 (default 5).", "N", "5");
    QCommandLineOption harderOpt("harder", "The month that costs the run the most besides fetching.");
    QCommandLineOption freshOpt("fresh", "A sector and an employee per sector that work on the last day alone.");
    parser.addOptions({endOpt, nowOpt, scaleOpt, sectorsOpt, harderOpt, freshOpt});
    parser.process(app);

    const QDate end = parser.isSet(endOpt) ? QDate::fromString(parser.value(endOpt), Qt::ISODate) : QDate::currentDate();
    const QTime now = parser.isSet(nowOpt) ? QTime::fromString(parser.value(nowOpt), QStringLiteral("HH:mm"))
                                           : QTime::currentTime();
    const int scale = std::max(1, parser.value(scaleOpt).toInt());
    const QList<Sector> sectors = makeSectors(parser.value(sectorsOpt).toInt());
    const bool harder = parser.isSet(harderOpt);
    const bool fresh = parser.isSet(freshOpt);
    if (!end.isValid() || !now.isValid()) {
        std::fprintf(stderr, "invalid --end or --now\n");
        return 2;
    }

    QTextStream out(stdout);
    out.setEncoding(QStringConverter::Utf8);
    Random rnd(20261105);
    int statements = 0;
    auto put = [&](const QString& sql) {
        out << sql << ";\n";
        if (++statements % 2000 == 0)
            out << "commit;\n";
    };

    put("insert into PARAM values ('PRODUTO_TEMPO', 'TEMPO_DECIMAL', 'N')");
    QHash<QString, int> troca;
    // Display orders that pick readable colour pairs of the sector page.
    const int ordens[] = {3, 5, 11, 13, 14, 1, 4, 7, 9, 10, 12, 0};
    for (const Sector& s : sectors) {
        troca[s.code] = rnd.between(10, 30);
        const int ordem = ordens[(s.code.toInt() - 1) % int(std::size(ordens))];
        // In the harder month the sectors from 06 on are grouped under 02.
        const QString agrup = harder && s.code.toInt() >= 6 ? QStringLiteral("02") : s.code;
        put(QStringLiteral("insert into SETOR values ('%1', '%2', %3, '%4')").arg(s.code, s.name).arg(ordem).arg(agrup));
        put(QStringLiteral("insert into PRODUCAO_OPERACAO_SETOR values ('TR', '%1', %2)").arg(s.code).arg(troca[s.code]));
    }

    // Products and their standard time per pair (per box in the shipping
    // sector), in seconds, per sector; cutting knives and theirs.
    const int products = harder ? 400 : 12;
    QHash<QString, int> tempo; // product + sector
    for (int p = 1; p <= products; ++p)
        for (const Sector& s : sectors) {
            const int t = s.code == QLatin1String("05") ? rnd.between(50, 90) : rnd.between(40, 110);
            tempo[QString::number(10000 + p) + s.code] = t;
            // A third of a grouped sector's times are left to its group (02).
            if (harder && s.code.toInt() >= 6 && rnd.between(1, 3) == 1) {
                tempo[QString::number(10000 + p) + s.code] = tempo[QString::number(10000 + p) + QStringLiteral("02")];
                continue;
            }
            put(QStringLiteral("insert into PRODUTO_TEMPO values ('%1', '%2', %3)").arg(10000 + p).arg(s.code).arg(t));
        }
    QList<int> faca;
    for (int k = 1; k <= 6; ++k) {
        faca.append(rnd.between(25, 45));
        put(QStringLiteral("insert into FACA values ('F%1', %2)").arg(k).arg(faca.back()));
    }

    struct Employee {
        QString code;
        int number;
        const Sector* sector;
        int skill; // percent of the standard pace
        bool lastDayOnly;
    };
    QList<Employee> employees;
    int next = 1;
    int total = 0;
    for (const Sector& s : sectors)
        total += s.employees * scale;
    // Codes have three characters: digits up to 999 employees, digits and
    // letters beyond (a large site's 5,000).
    const bool base36 = total > 999;
    for (const Sector& s : sectors) {
        for (int e = 0; e < s.employees * scale; ++e, ++next) {
            QString code = base36 ? QString::number(next, 36).toUpper().rightJustified(3, QLatin1Char('0'))
                                  : QStringLiteral("%1").arg(next % 1000, 3, 10, QLatin1Char('0'));
            QString name = QStringLiteral("%1 %2 %3")
                               .arg(kFirstNames[rnd.between(0, int(std::size(kFirstNames)) - 1)],
                                    kLastNames[rnd.between(0, int(std::size(kLastNames)) - 1)],
                                    kLastNames[rnd.between(0, int(std::size(kLastNames)) - 1)]);
            put(QStringLiteral("insert into TABELA values ('38', '%1', '%2')").arg(code, name));
            const bool lastDayOnly = fresh && (&s == &sectors.back() || e == s.employees * scale - 1);
            employees.append({code, next, &s, rnd.between(55, 115), lastDayOnly});
        }
    }

    int prog = 1000, ficha = 0, corte = 0, caixa = 0;
    for (int back = 30; back >= 0; --back) {
        const QDate day = end.addDays(-back);
        if (day.dayOfWeek() == 7)
            continue; // no work on Sundays
        const bool saturday = day.dayOfWeek() == 6;
        const QTime shiftEnd = saturday ? QTime(12, 0) : QTime(17, 0);
        const QTime lastTicket = back == 0 ? std::min(now, shiftEnd) : shiftEnd;
        for (const Employee& base : employees) {
          if (base.lastDayOnly && back != 0)
              continue;
          // In the harder month a fifth of the employees work part of some
          // days in a second sector.
          QList<const Sector*> where = {base.sector};
          if (harder && base.number % 1000 % 5 == 0 && rnd.between(1, 2) == 1)
              where.append(&sectors[(int(base.sector - sectors.constData()) + 1) % int(sectors.size())]);
          for (const Sector* sector : where) {
            Employee e = base;
            e.sector = sector;
            const bool overtime = !saturday && rnd.between(1, harder ? 3 : 6) == 1;
            put(QStringLiteral("insert into PRODUCAO_EXPEDIENTE values ('%1', '%2', '%3', '07:00', '%4', %5, %6, %7, %8, 1, %9)")
                     .arg(day.toString(Qt::ISODate), e.sector->code, e.code, shiftEnd.toString(QStringLiteral("HH:mm")))
                     .arg(saturday ? 0 : 60)
                     .arg(overtime ? QStringLiteral("'17:30'") : QStringLiteral("NULL"))
                     .arg(overtime ? QStringLiteral("'19:30'") : QStringLiteral("NULL"))
                     .arg(rnd.between(0, 15))
                     .arg(overtime ? 1 : 0));
            // Work finished at a pace around the employee's skill, in tickets
            // spread over the day.
            QTime t(7, rnd.between(20, 50));
            const QTime stop = overtime && back != 0 ? QTime(19, 30) : lastTicket;
            while (t < stop) {
                const int product = 10000 + rnd.between(1, products);
                const int qty = rnd.between(12, 36);
                const QString code = e.sector->code;
                double standard = 0; // seconds of standard time in this ticket
                if (code == QLatin1String("01")) {
                    ++corte;
                    const int knife = rnd.between(1, 6);
                    standard = qty * faca[knife - 1] + troca[code];
                    put(QStringLiteral("insert into FICHA_CORTE values (%1, %2, 'F%3')").arg(corte).arg(qty).arg(knife));
                    put(QStringLiteral("insert into FICHA_CORTE_ATU_SETOR values (%1, '01', %2, '%3')")
                             .arg(corte)
                             .arg(ts(day, t), e.code));
                } else if (code == QLatin1String("05")) {
                    const int boxes = qty / 6;
                    standard = boxes * (tempo[QString::number(product) + code] + troca[code]);
                    for (int box = 0; box < boxes; ++box) {
                        ++caixa;
                        put(QStringLiteral("insert into CODCXUNIT values ('CX%1', %2, %3, '05', %4, '%5', '%6')")
                                 .arg(caixa)
                                 .arg(prog)
                                 .arg(ficha)
                                 .arg(ts(day, t.addSecs(box * 30)), e.code)
                                 .arg(product));
                    }
                } else {
                    standard = qty * tempo[QString::number(product) + code] + troca[code];
                    ++ficha;
                    put(QStringLiteral("insert into ITENSPV (PROG_IT, FICHA_IT, PROD_IT) values (%1, %2, '%3')")
                             .arg(prog)
                             .arg(ficha)
                             .arg(product));
                    put(QStringLiteral("insert into PRODUCAO_SETOR values (%1, %2, '%3', %4, '%5', %6, '%7')")
                             .arg(prog)
                             .arg(ficha)
                             .arg(code, ts(day, t), t.toString(QStringLiteral("HH:mm")))
                             .arg(qty)
                             .arg(e.code));
                }
                // Minutes until the next ticket: its standard time at the employee's pace.
                const int minutes = std::max(3, int(standard * 100 / (e.skill * 60.0)) + rnd.between(-3, 3));
                QTime nextTime = t.addSecs(minutes * 60);
                if (nextTime < t)
                    break; // past midnight
                if (t < QTime(12, 0) && nextTime >= QTime(12, 0) && !saturday)
                    nextTime = nextTime.addSecs(3600); // lunch
                t = nextTime;
                if (where.size() > 1 && sector == where.first() && t >= QTime(12, 0))
                    break; // the afternoon in the second sector
            }
          }
        }
    }
    out << "commit;\n";
    return 0;
}
