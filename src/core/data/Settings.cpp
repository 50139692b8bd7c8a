#include "data/Settings.h"

#include "common/Numbers.h"
#include "common/Text.h"

namespace scorewell {

std::string ReadSetting(Database& db, int settingsId, std::string* settingName) {
    try {
        Cursor row = db.Query("SELECT SettingName, SettingValue FROM Settings WHERE SettingsID=?",
                              {Value(settingsId)});
        if (row.AtEnd()) {
            return kMissingSetting;
        }
        std::string value = Trim(row.Field(1).AsText());
        if (settingName) {
            *settingName = row.Field(0).AsText();
        }
        return value;
    } catch (const TransactionLost&) {
        throw;
    } catch (const std::exception&) {
        return kMissingSetting;
    }
}

bool WriteSetting(Database& db, int settingsId, std::string_view value) {
    try {
        Value stored = Trim(value).empty() ? Value() : Value(value);
        if (db.Scalar("SELECT SettingsID FROM Settings WHERE SettingsID=?", {Value(settingsId)})
                .IsNull()) {
            db.Execute("INSERT INTO Settings (SettingsID, SettingValue) VALUES (?,?)",
                       {Value(settingsId), stored});
        } else {
            db.Execute("UPDATE Settings SET SettingValue=? WHERE SettingsID=?",
                       {stored, Value(settingsId)});
        }
        return true;
    } catch (const TransactionLost&) {
        throw;
    } catch (const std::exception&) {
        return false;
    }
}

bool ReadSettingFlag(Database& db, int settingsId) {
    return ReadSetting(db, settingsId) == "True";
}

bool ReadSettingSwitch(Database& db, int settingsId) {
    std::string value = ReadSetting(db, settingsId);
    if (value == "True") {
        return true;
    }
    if (value == "False") {
        return false;
    }
    auto number = StrictNumber(value);
    return number && *number != 0;
}

double ReadSettingNumber(Database& db, int settingsId) {
    return LeadingNumber(ReadSetting(db, settingsId));
}

std::optional<std::int32_t> ReadSettingInteger(Database& db, int settingsId) {
    return StrictInteger(ReadSetting(db, settingsId));
}

std::optional<std::int32_t> ReadSettingColor(Database& db, int settingsId) {
    return ParseColorText(ReadSetting(db, settingsId));
}

std::string NullToText(const Value& value, std::string_view defaultText) {
    return value.IsNull() ? std::string(defaultText) : value.AsText();
}

PointTable::PointTable(int positions, int columns)
    : positions_(positions), columns_(columns),
      cells_(static_cast<std::size_t>(positions * columns)) {}

const Value& PointTable::At(int position, int column) const {
    static const Value null;
    if (position < 1 || position > positions_ || column < 0 || column >= columns_) {
        return null;
    }
    return cells_[static_cast<std::size_t>((position - 1) * columns_ + column)];
}

void PointTable::Set(int position, int column, Value value) {
    if (position >= 1 && position <= positions_ && column >= 0 && column < columns_) {
        cells_[static_cast<std::size_t>((position - 1) * columns_ + column)] = std::move(value);
    }
}

PointTable LoadPointSystem(Database& programDb, Database& league, bool useCustomPointSystem,
                           bool /*useCustomBonusSystem*/) {
    if (!useCustomPointSystem) {
        constexpr int kPresetPositions = 43;
        PointTable table(kPresetPositions, 4);
        // The rows' stored order is their position order.
        Cursor rows = programDb.Query(
            "SELECT Tabulon, LPoints1, LPoints2, LPoints3 FROM PointSystem ORDER BY rowid");
        for (int p = 1; p <= kPresetPositions && !rows.AtEnd(); ++p, rows.MoveNext()) {
            for (int c = 0; c < 4; ++c) {
                table.Set(p, c, rows.Field(c));
            }
        }
        return table;
    }
    int positions =
        static_cast<int>(league.Scalar("SELECT Count(*) AS NumPos FROM PointSystem").AsInteger());
    PointTable table(positions, 2);
    Cursor rows = league.Query("SELECT Points, PrizeMoney FROM PointSystem ORDER BY rowid");
    for (int p = 1; p <= positions && !rows.AtEnd(); ++p, rows.MoveNext()) {
        table.Set(p, 0, rows.Field(0));
        table.Set(p, 1, rows.Field(1));
    }
    return table;
}

bool SetBonusPoints(Database& db, std::int32_t bonusId, int points) {
    try {
        db.Execute("UPDATE Bonus SET Points=? WHERE BonusID=?", {Value(points), Value(bonusId)});
        return true;
    } catch (const TransactionLost&) {
        throw;
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace scorewell
