// The shift rules on their own: the minutes a shift makes available, what
// is overtime, and how records add up. Every path of the calculation uses
// these functions.
#include "calc/RegraExpediente.h"
#include "data/DayNumber.h"

#include <gtest/gtest.h>

namespace {

const double kHoje = daynum::fromDate(QDate(2026, 11, 5));

regra::Agora as(const char* hora)
{
    return {kHoje, QString::fromLatin1(hora)};
}

TEST(RegraExpediente, MinutesOfTheShiftOnItsDayAndOnTheCurrentDay)
{
    // 07:30 to 17:18 with 60 minutes of lunch: 528 minutes on a past day.
    const regra::Turno t = regra::Turno::de("07:30", "17:18", {}, {}, 60, 0, 1, 0);
    EXPECT_EQ(t.minutosDia, 528);
    struct Caso {
        double dia;
        const char* agora;
        std::int64_t minutos;
    };
    const Caso casos[] = {
        {kHoje - 1, "10:00", 528}, // another day: the whole shift, whatever the time
        {kHoje, "06:00", 0},       // before the start: nothing yet, never negative
        {kHoje, "07:30", 0},
        {kHoje, "11:59", 269},     // before noon: no lunch taken off
        {kHoje, "12:00", 210},     // from noon: the lunch is
        {kHoje, "17:17", 527},
        {kHoje, "17:18", 528},     // the shift's end: its own length
        {kHoje, "23:00", 528},
    };
    for (const Caso& c : casos)
        EXPECT_EQ(regra::minutosDisponiveis(t, c.dia, as(c.agora)), c.minutos) << c.agora << " day " << c.dia - kHoje;
    // A shift whose times cannot make a length keeps the plain difference.
    EXPECT_EQ(regra::minutosDisponiveis(regra::Turno::de("08:00", "07:00", {}, {}, 0, 0, 1, 0), kHoje - 1, as("09:00")),
              -60);
}

TEST(RegraExpediente, OvertimeIsTheWindowWithBothEnds)
{
    const regra::Turno t = regra::Turno::de("08:00", "17:00", "18:00", "20:00", 60, 0, 1, 1);
    EXPECT_EQ(t.minutosExtras, 120);
    for (const auto& [hora, extra] : {std::pair{"17:59", false}, std::pair{"18:00", true}, std::pair{"19:10", true},
                                      std::pair{"20:00", true}, std::pair{"20:01", false}, std::pair{"", false}})
        EXPECT_EQ(regra::horaExtra(t, QString::fromLatin1(hora)), extra) << hora;
    // Without an overtime start nothing is overtime.
    EXPECT_FALSE(regra::horaExtra(regra::Turno::de("08:00", "17:00", {}, "20:00", 0, 0, 1, 0), "19:00"));
}

TEST(RegraExpediente, RecordsAddUpTicketsTimeAndTheShiftsMinutes)
{
    const regra::Turno t = regra::Turno::de("08:00", "17:00", "18:00", "20:00", 60, 7, 3, 2);
    regra::Soma s;
    regra::somarRegistro(s, t, kHoje, as("10:15"), 4, 30, 5, "09:00");
    EXPECT_EQ(s.qtdeFichas, 1);
    EXPECT_TRUE(s.temTempoTot);
    EXPECT_FALSE(s.temTempoTotHe); // no overtime record: the overtime sum stays null
    EXPECT_EQ(s.tempoTot, 4 * 30 + 5);
    EXPECT_EQ(s.minutosExpediente, 135);
    regra::somarRegistro(s, t, kHoje, as("19:30"), 1, 10, 5, "18:30");
    EXPECT_EQ(s.qtdeFichas, 2);
    EXPECT_EQ(s.tempoTot, 125);
    EXPECT_EQ(s.tempoTotHe, 15);
    EXPECT_EQ(s.minutosExpediente, 480); // the last record's clock: the shift is over
    EXPECT_EQ(s.minutosExtras, 120);
    EXPECT_EQ(s.minutosInativo, 7);
    EXPECT_EQ(s.qtdeFuncionarios, 3);
    EXPECT_EQ(s.qtdeFuncionariosHe, 2);

    // The sum is formed left to right, the change time last: the figures'
    // last bits depend on it.
    regra::Soma a;
    a.tempoTot = 0.1;
    a.temTempoTot = true;
    regra::somarRegistro(a, t, kHoje - 1, as("10:00"), 1, 0.2, 0.3, "09:00");
    EXPECT_EQ(a.tempoTot, (0.1 + 1 * 0.2) + 0.3);
    EXPECT_NE(a.tempoTot, 0.1 + (0.2 + 0.3));
}

} // namespace
