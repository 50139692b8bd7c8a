-- The program database Tabulon.dat: program settings, preset point systems, the default bonus
-- rules and rank criteria copied into every new league, and the reports of the standings window.
-- A missing Tabulon.dat is built from this text.
--
-- user_version numbers the shipped reports: a program database with a lower number gets the
-- reports of this text when it is opened, keeping its own column choices and reports.
PRAGMA user_version = 1;

CREATE TABLE Settings (
  SettingsID INTEGER PRIMARY KEY,
  SettingName TEXT(50) COLLATE NOCASE,
  SettingValue TEXT COLLATE NOCASE
);

-- One row per finishing position. Tabulon is the standard scale; LPoints1 to LPoints3 are the
-- scales NASCAR Legends races are scored with (1, 2 or 3 points between neighbours).
CREATE TABLE PointSystem (
  Position INTEGER PRIMARY KEY,
  Tabulon SMALLINT,
  LPoints1 SMALLINT,
  LPoints2 SMALLINT,
  LPoints3 SMALLINT
);

-- Same columns, in the same order, as a league's Bonus and RankCriteria tables: they are copied
-- column by column.
CREATE TABLE Bonus (
  BonusID INTEGER PRIMARY KEY AUTOINCREMENT,
  Name TEXT(30) COLLATE NOCASE,
  Points SMALLINT,
  Query TEXT COLLATE NOCASE
);

CREATE TABLE RankCriteria (
  RankCriteriaID INTEGER PRIMARY KEY AUTOINCREMENT,
  Name TEXT(30) COLLATE NOCASE,
  Priority SMALLINT,
  Query TEXT COLLATE NOCASE
);

-- Reports of the standings window: Query runs on the league file; each ReportField row is one
-- column showing the result column named in Field.
CREATE TABLE Report (
  ReportID INTEGER PRIMARY KEY AUTOINCREMENT,
  Name TEXT(50) COLLATE NOCASE,
  Query TEXT,
  Sequence SMALLINT
);

CREATE TABLE ReportField (
  ReportFieldID INTEGER PRIMARY KEY AUTOINCREMENT,
  ReportID INTEGER REFERENCES Report (ReportID) ON UPDATE CASCADE ON DELETE CASCADE,
  Sequence SMALLINT,
  Name TEXT(50) COLLATE NOCASE,
  ColWidth INTEGER,
  ColAlignment SMALLINT,
  ColFormat TEXT(50),
  Hidden BOOLEAN NOT NULL ON CONFLICT REPLACE DEFAULT 0,
  Field TEXT(64) COLLATE NOCASE
);
CREATE INDEX ReportFieldReport ON ReportField (ReportID, Sequence);

-- Program settings. Colours are 0x00BBGGRR values as "&H" texts.
INSERT INTO Settings VALUES (0, 'NASCAR Racing 3 Folder', NULL);
INSERT INTO Settings VALUES (1, 'NASCAR Legends Folder', NULL);
INSERT INTO Settings VALUES (7, 'Recent File 1', NULL);
INSERT INTO Settings VALUES (8, 'Recent File 2', NULL);
INSERT INTO Settings VALUES (9, 'Recent File 3', NULL);
INSERT INTO Settings VALUES (10, 'Recent File 4', NULL);
INSERT INTO Settings VALUES (11, 'Open Previous File', 'False');
INSERT INTO Settings VALUES (12, 'NASCAR Racing 4 Folder', NULL);
INSERT INTO Settings VALUES (100, 'Use Background Image', 'False');
INSERT INTO Settings VALUES (101, 'Background Image', NULL);
INSERT INTO Settings VALUES (102, 'Background Color', '&H00FFFFFF');
INSERT INTO Settings VALUES (103, 'Text Color', '&H00000000');
INSERT INTO Settings VALUES (104, 'Link Color', '&H00FF0000');
INSERT INTO Settings VALUES (105, 'Visited Link Color', '&H00800080');
INSERT INTO Settings VALUES (106, 'Active Link Color', '&H000000FF');
INSERT INTO Settings VALUES (107, 'Page Heading Color', '&H00800000');
INSERT INTO Settings VALUES (108, 'Report Name Color', '&H00000000');
INSERT INTO Settings VALUES (109, 'Caption Color', '&H00008000');

-- The classic championship scale: 175, 170, 165, 160, 155, 150, then 4 less down to 130 at 11th
-- and 3 less per position down to 34 at 43rd.
INSERT INTO PointSystem VALUES (1, 175, 43, 86, 129);
INSERT INTO PointSystem VALUES (2, 170, 42, 84, 126);
INSERT INTO PointSystem VALUES (3, 165, 41, 82, 123);
INSERT INTO PointSystem VALUES (4, 160, 40, 80, 120);
INSERT INTO PointSystem VALUES (5, 155, 39, 78, 117);
INSERT INTO PointSystem VALUES (6, 150, 38, 76, 114);
INSERT INTO PointSystem VALUES (7, 146, 37, 74, 111);
INSERT INTO PointSystem VALUES (8, 142, 36, 72, 108);
INSERT INTO PointSystem VALUES (9, 138, 35, 70, 105);
INSERT INTO PointSystem VALUES (10, 134, 34, 68, 102);
INSERT INTO PointSystem VALUES (11, 130, 33, 66, 99);
INSERT INTO PointSystem VALUES (12, 127, 32, 64, 96);
INSERT INTO PointSystem VALUES (13, 124, 31, 62, 93);
INSERT INTO PointSystem VALUES (14, 121, 30, 60, 90);
INSERT INTO PointSystem VALUES (15, 118, 29, 58, 87);
INSERT INTO PointSystem VALUES (16, 115, 28, 56, 84);
INSERT INTO PointSystem VALUES (17, 112, 27, 54, 81);
INSERT INTO PointSystem VALUES (18, 109, 26, 52, 78);
INSERT INTO PointSystem VALUES (19, 106, 25, 50, 75);
INSERT INTO PointSystem VALUES (20, 103, 24, 48, 72);
INSERT INTO PointSystem VALUES (21, 100, 23, 46, 69);
INSERT INTO PointSystem VALUES (22, 97, 22, 44, 66);
INSERT INTO PointSystem VALUES (23, 94, 21, 42, 63);
INSERT INTO PointSystem VALUES (24, 91, 20, 40, 60);
INSERT INTO PointSystem VALUES (25, 88, 19, 38, 57);
INSERT INTO PointSystem VALUES (26, 85, 18, 36, 54);
INSERT INTO PointSystem VALUES (27, 82, 17, 34, 51);
INSERT INTO PointSystem VALUES (28, 79, 16, 32, 48);
INSERT INTO PointSystem VALUES (29, 76, 15, 30, 45);
INSERT INTO PointSystem VALUES (30, 73, 14, 28, 42);
INSERT INTO PointSystem VALUES (31, 70, 13, 26, 39);
INSERT INTO PointSystem VALUES (32, 67, 12, 24, 36);
INSERT INTO PointSystem VALUES (33, 64, 11, 22, 33);
INSERT INTO PointSystem VALUES (34, 61, 10, 20, 30);
INSERT INTO PointSystem VALUES (35, 58, 9, 18, 27);
INSERT INTO PointSystem VALUES (36, 55, 8, 16, 24);
INSERT INTO PointSystem VALUES (37, 52, 7, 14, 21);
INSERT INTO PointSystem VALUES (38, 49, 6, 12, 18);
INSERT INTO PointSystem VALUES (39, 46, 5, 10, 15);
INSERT INTO PointSystem VALUES (40, 43, 4, 8, 12);
INSERT INTO PointSystem VALUES (41, 40, 3, 6, 9);
INSERT INTO PointSystem VALUES (42, 37, 2, 4, 6);
INSERT INTO PointSystem VALUES (43, 34, 1, 2, 3);

-- Default bonus rules. Written against the staging tables; for stored races every "STN" is
-- removed from the statement, so conditions use only columns both results tables share.
INSERT INTO Bonus VALUES (1, 'Led a Lap', 5, 'LapsLed > 0');
INSERT INTO Bonus VALUES (2, 'Most Laps Led', 5,
  'LapsLed = (SELECT Max(LapsLed) FROM STNStats WHERE STNRaceID = <RACEID>)');
INSERT INTO Bonus VALUES (3, 'Pole', 0, 'Start = 1');
INSERT INTO Bonus VALUES (4, 'Win', 0, 'Finish = 1');
INSERT INTO Bonus VALUES (5, 'All Laps', 0,
  'LapsRun = (SELECT Max(LapsRun) FROM STNStats WHERE STNRaceID = <RACEID>)');

-- Default criteria that rank the unique drivers of an off-line event, first key first.
INSERT INTO RankCriteria VALUES (1, 'Laps Completed', 1, 'LapsRun DESC');
INSERT INTO RankCriteria VALUES (2, 'Average Speed', 2, 'AvgSpeed DESC');
INSERT INTO RankCriteria VALUES (3, 'Laps Led', 3, 'LapsLed DESC');
INSERT INTO RankCriteria VALUES (4, 'Qualifying Speed', 4, 'Qualifying DESC');

-- REPORTS

-- Each query is one SELECT over the league's Driver, Race and Stats tables; its result columns
-- are named exactly as the Field of the report's columns. Excluded drivers are never listed
-- or named. Points and Bonus leave dropped results out; every other figure counts all results. A
-- start position of 0 means "not known" and stays out of the average start. Winnings stay
-- empty when no result of the driver carries prize money (a league without a custom point
-- system), so an empty cell is told apart from a driver who won nothing.

-- Championship table: the interval is measured from the leader's total, so it is worked out
-- over the grouped rows. The stewards' adjustments count in full (never dropped): Adj is their
-- sum, empty for a driver who has none.
INSERT INTO Report VALUES (1, 'Point Standings',
'SELECT Driver, Points, Max(Points) OVER () - Points AS Interval, Starts, Wins, Top5, Top10,
  Poles, LapsLed, Bonus, AvgStart, AvgFinish, Winnings, Adj
FROM (SELECT Driver.Name AS Driver,
    IFNULL(Sum(CASE WHEN Stats.Dropped = 0 THEN Stats.Points END), 0) + IFNULL(Adjusted.Adj, 0)
      AS Points,
    Count(*) AS Starts,
    Count(CASE WHEN Stats.Finish = 1 THEN 1 END) AS Wins,
    Count(CASE WHEN Stats.Finish BETWEEN 1 AND 5 THEN 1 END) AS Top5,
    Count(CASE WHEN Stats.Finish BETWEEN 1 AND 10 THEN 1 END) AS Top10,
    Count(CASE WHEN Stats.Start = 1 THEN 1 END) AS Poles,
    IFNULL(Sum(Stats.LapsLed), 0) AS LapsLed,
    IFNULL(Sum(CASE WHEN Stats.Dropped = 0 THEN Stats.Bonus END), 0) AS Bonus,
    Avg(NULLIF(Stats.Start, 0)) AS AvgStart,
    Avg(Stats.Finish) AS AvgFinish,
    Sum(Stats.PrizeMoney) AS Winnings,
    Adjusted.Adj AS Adj
  FROM Driver INNER JOIN Stats ON Stats.DriverID = Driver.DriverID
    LEFT JOIN (SELECT DriverID, Sum(Points) AS Adj FROM Adjustment GROUP BY DriverID) AS Adjusted
      ON Adjusted.DriverID = Driver.DriverID
  WHERE Driver.Exclude = 0
  GROUP BY Driver.DriverID)
ORDER BY Points DESC, Wins DESC, Top5 DESC, Top10 DESC, Driver', 1);

-- Career figures of every driver; a Null status counts as running at the finish.
INSERT INTO Report VALUES (2, 'Driver Statistics',
'SELECT Driver.Name AS Driver,
  Count(*) AS Starts,
  IFNULL(Sum(Stats.LapsRun), 0) AS LapsRun,
  IFNULL(Sum(Stats.LapsLed), 0) AS LapsLed,
  Count(CASE WHEN Trim(Stats.Status) <> ''Running'' COLLATE NOCASE THEN 1 END) AS DNF,
  Avg(NULLIF(Stats.Start, 0)) AS AvgStart,
  Avg(Stats.Finish) AS AvgFinish,
  Count(CASE WHEN Stats.Finish = 1 THEN 1 END) AS Wins,
  Count(CASE WHEN Stats.Start = 1 THEN 1 END) AS Poles
FROM Driver INNER JOIN Stats ON Stats.DriverID = Driver.DriverID
WHERE Driver.Exclude = 0
GROUP BY Driver.DriverID
ORDER BY Driver.Name, Driver.DriverID', 2);

-- One row per race, in the order the races were imported. A tie on laps led goes to the better
-- finisher. A place taken by an excluded driver stays empty rather than passing to the next
-- driver, who did not win, start first or lead the most laps.
INSERT INTO Report VALUES (3, 'Race Winners',
'SELECT IFNULL(Race.Name, Race.FileName) AS Race,
  (SELECT CASE WHEN Driver.Exclude = 0 THEN Driver.Name END
    FROM Stats INNER JOIN Driver ON Driver.DriverID = Stats.DriverID
    WHERE Stats.RaceID = Race.RaceID AND Stats.Finish = 1
    ORDER BY Stats.StatsID LIMIT 1) AS Winner,
  (SELECT CASE WHEN Driver.Exclude = 0 THEN Driver.Name END
    FROM Stats INNER JOIN Driver ON Driver.DriverID = Stats.DriverID
    WHERE Stats.RaceID = Race.RaceID AND Stats.Start = 1
    ORDER BY Stats.Finish NULLS LAST, Stats.StatsID LIMIT 1) AS Pole,
  (SELECT CASE WHEN Driver.Exclude = 0 THEN Driver.Name END
    FROM Stats INNER JOIN Driver ON Driver.DriverID = Stats.DriverID
    WHERE Stats.RaceID = Race.RaceID AND Stats.LapsLed > 0
    ORDER BY Stats.LapsLed DESC, Stats.Finish NULLS LAST, Stats.StatsID LIMIT 1) AS MostLapsLed
FROM Race
ORDER BY Race.RaceID', 3);

-- Drivers who led at least one lap.
INSERT INTO Report VALUES (4, 'Laps Led',
'SELECT Driver.Name AS Driver,
  Sum(Stats.LapsLed) AS LapsLed,
  Count(CASE WHEN Stats.LapsLed > 0 THEN 1 END) AS RacesLed,
  Max(Stats.LapsLed) AS MostLed
FROM Driver INNER JOIN Stats ON Stats.DriverID = Driver.DriverID
WHERE Driver.Exclude = 0
GROUP BY Driver.DriverID
HAVING Sum(Stats.LapsLed) > 0
ORDER BY LapsLed DESC, RacesLed DESC, Driver.Name', 4);

-- Money won over the season; drivers without any prize money come last.
INSERT INTO Report VALUES (5, 'Prize Money',
'SELECT Driver.Name AS Driver,
  Sum(Stats.PrizeMoney) AS Winnings,
  Count(*) AS Starts,
  Count(CASE WHEN Stats.Finish = 1 THEN 1 END) AS Wins,
  Sum(Stats.PrizeMoney) * 1.0 / Count(*) AS AvgWinnings
FROM Driver INNER JOIN Stats ON Stats.DriverID = Driver.DriverID
WHERE Driver.Exclude = 0
GROUP BY Driver.DriverID
ORDER BY Winnings DESC NULLS LAST, Driver.Name', 5);

-- The championship table among rookies alone; the interval is to the leading rookie.
INSERT INTO Report VALUES (6, 'Rookie Standings',
'SELECT Driver, Points, Max(Points) OVER () - Points AS Interval, Starts, Wins, Top5, Top10,
  Poles, LapsLed, Bonus, AvgStart, AvgFinish, Winnings, Adj
FROM (SELECT Driver.Name AS Driver,
    IFNULL(Sum(CASE WHEN Stats.Dropped = 0 THEN Stats.Points END), 0) + IFNULL(Adjusted.Adj, 0)
      AS Points,
    Count(*) AS Starts,
    Count(CASE WHEN Stats.Finish = 1 THEN 1 END) AS Wins,
    Count(CASE WHEN Stats.Finish BETWEEN 1 AND 5 THEN 1 END) AS Top5,
    Count(CASE WHEN Stats.Finish BETWEEN 1 AND 10 THEN 1 END) AS Top10,
    Count(CASE WHEN Stats.Start = 1 THEN 1 END) AS Poles,
    IFNULL(Sum(Stats.LapsLed), 0) AS LapsLed,
    IFNULL(Sum(CASE WHEN Stats.Dropped = 0 THEN Stats.Bonus END), 0) AS Bonus,
    Avg(NULLIF(Stats.Start, 0)) AS AvgStart,
    Avg(Stats.Finish) AS AvgFinish,
    Sum(Stats.PrizeMoney) AS Winnings,
    Adjusted.Adj AS Adj
  FROM Driver INNER JOIN Stats ON Stats.DriverID = Driver.DriverID
    LEFT JOIN (SELECT DriverID, Sum(Points) AS Adj FROM Adjustment GROUP BY DriverID) AS Adjusted
      ON Adjusted.DriverID = Driver.DriverID
  WHERE Driver.Exclude = 0 AND Driver.Rookie = 1
  GROUP BY Driver.DriverID)
ORDER BY Points DESC, Wins DESC, Top5 DESC, Top10 DESC, Driver', 6);

-- Qualifying record: the best speed is the fastest qualifying lap in mph.
INSERT INTO Report VALUES (7, 'Qualifying',
'SELECT Driver.Name AS Driver,
  Count(CASE WHEN Stats.Start = 1 THEN 1 END) AS Poles,
  Avg(NULLIF(Stats.Start, 0)) AS AvgStart,
  Max(Stats.Qualifying) AS BestQualifying,
  Count(*) AS Starts
FROM Driver INNER JOIN Stats ON Stats.DriverID = Driver.DriverID
WHERE Driver.Exclude = 0
GROUP BY Driver.DriverID
ORDER BY Poles DESC, AvgStart NULLS LAST, Driver.Name', 7);

-- Columns of the reports. Widths in twips; alignment 1 (left) for names, 4 (centred) for
-- figures.
INSERT INTO ReportField
  (ReportID, Sequence, Name, ColWidth, ColAlignment, ColFormat, Hidden, Field) VALUES
  (1, 1, 'Driver', 2500, 1, NULL, 0, 'Driver'),
  (1, 2, 'Points', 800, 4, NULL, 0, 'Points'),
  (1, 3, 'Interval', 800, 4, '0;;--', 0, 'Interval'),
  (1, 4, 'Starts', 700, 4, NULL, 0, 'Starts'),
  (1, 5, 'Wins', 600, 4, NULL, 0, 'Wins'),
  (1, 6, 'Top 5', 650, 4, NULL, 0, 'Top5'),
  (1, 7, 'Top 10', 700, 4, NULL, 0, 'Top10'),
  (1, 8, 'Poles', 650, 4, NULL, 0, 'Poles'),
  (1, 9, 'Laps Led', 850, 4, NULL, 0, 'LapsLed'),
  (1, 10, 'Bonus', 700, 4, NULL, 0, 'Bonus'),
  (1, 11, 'Avg Start', 850, 4, '0.0', 0, 'AvgStart'),
  (1, 12, 'Avg Finish', 900, 4, '0.0', 0, 'AvgFinish'),
  (1, 13, 'Winnings', 1000, 4, '#,##0', 1, 'Winnings'),
  (1, 14, 'Adj.', 600, 4, '+0;-0;0', 1, 'Adj');

INSERT INTO ReportField
  (ReportID, Sequence, Name, ColWidth, ColAlignment, ColFormat, Hidden, Field) VALUES
  (2, 1, 'Driver', 2500, 1, NULL, 0, 'Driver'),
  (2, 2, 'Starts', 700, 4, NULL, 0, 'Starts'),
  (2, 3, 'Laps Run', 850, 4, NULL, 0, 'LapsRun'),
  (2, 4, 'Laps Led', 850, 4, NULL, 0, 'LapsLed'),
  (2, 5, 'DNF', 600, 4, NULL, 0, 'DNF'),
  (2, 6, 'Avg Start', 850, 4, '0.0', 0, 'AvgStart'),
  (2, 7, 'Avg Finish', 900, 4, '0.0', 0, 'AvgFinish'),
  (2, 8, 'Wins', 600, 4, NULL, 0, 'Wins'),
  (2, 9, 'Poles', 650, 4, NULL, 0, 'Poles');

INSERT INTO ReportField
  (ReportID, Sequence, Name, ColWidth, ColAlignment, ColFormat, Hidden, Field) VALUES
  (3, 1, 'Race', 3000, 1, NULL, 0, 'Race'),
  (3, 2, 'Winner', 2500, 1, NULL, 0, 'Winner'),
  (3, 3, 'Pole', 2500, 1, NULL, 0, 'Pole'),
  (3, 4, 'Most Laps Led', 2500, 1, NULL, 0, 'MostLapsLed');

INSERT INTO ReportField
  (ReportID, Sequence, Name, ColWidth, ColAlignment, ColFormat, Hidden, Field) VALUES
  (4, 1, 'Driver', 2500, 1, NULL, 0, 'Driver'),
  (4, 2, 'Laps Led', 850, 4, NULL, 0, 'LapsLed'),
  (4, 3, 'Races Led', 900, 4, NULL, 0, 'RacesLed'),
  (4, 4, 'Most Led', 850, 4, NULL, 0, 'MostLed');

INSERT INTO ReportField
  (ReportID, Sequence, Name, ColWidth, ColAlignment, ColFormat, Hidden, Field) VALUES
  (5, 1, 'Driver', 2500, 1, NULL, 0, 'Driver'),
  (5, 2, 'Winnings', 1000, 4, '#,##0', 0, 'Winnings'),
  (5, 3, 'Starts', 700, 4, NULL, 0, 'Starts'),
  (5, 4, 'Wins', 600, 4, NULL, 0, 'Wins'),
  (5, 5, 'Per Start', 900, 4, '#,##0', 0, 'AvgWinnings');

INSERT INTO ReportField
  (ReportID, Sequence, Name, ColWidth, ColAlignment, ColFormat, Hidden, Field) VALUES
  (6, 1, 'Driver', 2500, 1, NULL, 0, 'Driver'),
  (6, 2, 'Points', 800, 4, NULL, 0, 'Points'),
  (6, 3, 'Interval', 800, 4, '0;;--', 0, 'Interval'),
  (6, 4, 'Starts', 700, 4, NULL, 0, 'Starts'),
  (6, 5, 'Wins', 600, 4, NULL, 0, 'Wins'),
  (6, 6, 'Top 5', 650, 4, NULL, 0, 'Top5'),
  (6, 7, 'Top 10', 700, 4, NULL, 0, 'Top10'),
  (6, 8, 'Poles', 650, 4, NULL, 0, 'Poles'),
  (6, 9, 'Laps Led', 850, 4, NULL, 0, 'LapsLed'),
  (6, 10, 'Bonus', 700, 4, NULL, 0, 'Bonus'),
  (6, 11, 'Avg Start', 850, 4, '0.0', 0, 'AvgStart'),
  (6, 12, 'Avg Finish', 900, 4, '0.0', 0, 'AvgFinish'),
  (6, 13, 'Winnings', 1000, 4, '#,##0', 1, 'Winnings'),
  (6, 14, 'Adj.', 600, 4, '+0;-0;0', 1, 'Adj');

INSERT INTO ReportField
  (ReportID, Sequence, Name, ColWidth, ColAlignment, ColFormat, Hidden, Field) VALUES
  (7, 1, 'Driver', 2500, 1, NULL, 0, 'Driver'),
  (7, 2, 'Poles', 650, 4, NULL, 0, 'Poles'),
  (7, 3, 'Avg Start', 850, 4, '0.0', 0, 'AvgStart'),
  (7, 4, 'Best Speed', 1000, 4, '##0.000;;--', 0, 'BestQualifying'),
  (7, 5, 'Starts', 700, 4, NULL, 0, 'Starts');
