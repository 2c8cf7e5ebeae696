#pragma once

#include <QString>
#include <QTemporaryDir>

// A throwaway factory database: the thirteen tables of the production-control
// system (tests/fixtures/schema.sql), empty, plus whatever the test's own SQL
// adds. Rows are stated as plain SQL, for instance
//     FixtureDb db("insert into SETOR values ('01', 'Costura', 1, '01');");
// The file is removed with the object.
class FixtureDb {
public:
    explicit FixtureDb(const QString& sql = {});
    FixtureDb(const FixtureDb&) = delete;
    FixtureDb& operator=(const FixtureDb&) = delete;

    const QString& path() const { return path_; }
    const QString& folder() const { return folder_; }

    // More SQL against the file (no connection of the test may hold it open).
    void exec(const QString& sql) const;

private:
    QTemporaryDir dir_;
    QString folder_;
    QString path_;
};
