<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AboutDialog</name>
    <message>
        <source>About Tarvelo</source>
        <translation>Über Tarvelo</translation>
    </message>
    <message>
        <source>Version: </source>
        <translation>Version: </translation>
    </message>
    <message>
        <source>Plattform:</source>
        <translation>Plattform:</translation>
    </message>
    <message>
        <source>Author:</source>
        <translation>Autor:</translation>
    </message>
    <message>
        <source>The Tarvelo developers at Kelvorn</source>
        <translation>Die Tarvelo-Entwickler bei Kelvorn</translation>
    </message>
    <message>
        <source>Licence:</source>
        <translation>Lizenz:</translation>
    </message>
    <message>
        <source>Copyright the Tarvelo developers. Tarvelo is free software under the GNU General Public License, version 3 or (at your option) any later version (GPL-3.0-or-later). It comes with no warranty.</source>
        <translation>Copyright die Tarvelo-Entwickler. Tarvelo ist freie Software unter der GNU General Public License, Version 3 oder (nach Ihrer Wahl) jeder späteren Version (GPL-3.0-or-later). Es gibt keine Gewährleistung.</translation>
    </message>
</context>
<context>
    <name>AccuEntry</name>
    <message>
        <source>LiPo</source>
        <translation>LiPo</translation>
    </message>
    <message>
        <source>LiFe</source>
        <translation>LiFe</translation>
    </message>
    <message>
        <source>NiMh</source>
        <translation>NiMh</translation>
    </message>
    <message>
        <source>NiCd</source>
        <translation>NiCd</translation>
    </message>
    <message>
        <source>Ene</source>
        <translation>Ene</translation>
    </message>
    <message>
        <source>Pb</source>
        <translation>Pb</translation>
    </message>
</context>
<context>
    <name>AccuManagementDialog</name>
    <message>
        <source>Accu management</source>
        <translation>Akkuverwaltung</translation>
    </message>
    <message>
        <source>Brand</source>
        <translation>Marke</translation>
    </message>
    <message>
        <source>Capacity</source>
        <translation>Kapazität</translation>
    </message>
    <message>
        <source>Cells</source>
        <translation>Zellen</translation>
    </message>
    <message>
        <source>Strength</source>
        <translation>Belastbarkeit</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Beschreibung</translation>
    </message>
    <message>
        <source>Typ</source>
        <translation>Typ</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <source>Change</source>
        <translation>Ändern</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Database error</source>
        <translation>Datenbankfehler</translation>
    </message>
    <message>
        <source>Couldn&apos;t add the accu
</source>
        <translation>Der Akku konnte nicht hinzugefügt werden
</translation>
    </message>
    <message>
        <source>Couldn&apos;t change the accu
</source>
        <translation>Der Akku konnte nicht geändert werden
</translation>
    </message>
    <message>
        <source>Couldn&apos;t delete the accu
</source>
        <translation>Der Akku konnte nicht gelöscht werden
</translation>
    </message>
    <message>
        <source>A pack needs a capacity above 0 mAh.</source>
        <translation>Ein Akku braucht eine Kapazität über 0 mAh.</translation>
    </message>
    <message>
        <source>Delete pack</source>
        <translation>Akku löschen</translation>
    </message>
    <message>
        <source>%2 log entries refer to the pack &quot;%1&quot;. Delete it anyway? The entries are kept and show it as a deleted pack.</source>
        <translation>%2 Logbucheinträge verweisen auf den Akku &quot;%1&quot;. Trotzdem löschen? Die Einträge bleiben erhalten und zeigen ihn als gelöschten Akku.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>AccuStatsTable</name>
    <message>
        <source>Accu</source>
        <translation>Akku</translation>
    </message>
    <message>
        <source>Number of cycles</source>
        <translation>Anzahl Zyklen</translation>
    </message>
    <message>
        <source>overall used time</source>
        <translation>Gesamte Nutzungszeit</translation>
    </message>
    <message>
        <source>avg. time per use</source>
        <translation>Mittlere Zeit pro Nutzung</translation>
    </message>
    <message>
        <source>avg. current</source>
        <translation>Mittlerer Strom</translation>
    </message>
    <message>
        <source>avg. rest capacity</source>
        <translation>Mittlere Restkapazität</translation>
    </message>
</context>
<context>
    <name>ChargerStatus</name>
    <message>
        <source>ChargerStatus</source>
        <translation>Ladegerätestatus</translation>
    </message>
    <message>
        <source>ChargerName</source>
        <translation>ChargerName</translation>
    </message>
    <message>
        <source>Status:</source>
        <translation>Status:</translation>
    </message>
    <message>
        <source>Receiving...</source>
        <translation>Empfange...</translation>
    </message>
    <message>
        <source>Input Voltage:</source>
        <translation>Eingangsspannung:</translation>
    </message>
    <message>
        <source>Clamp Voltage:</source>
        <translation>Klemmenspannung:</translation>
    </message>
    <message>
        <source>Voltage Cell 1:</source>
        <translation>Spannung Zelle 1:</translation>
    </message>
    <message>
        <source>Voltage Cell 2:</source>
        <translation>Spannung Zelle 2:</translation>
    </message>
    <message>
        <source>Voltage Cell 3:</source>
        <translation>Spannung Zelle 3:</translation>
    </message>
    <message>
        <source>Voltage Cell 4:</source>
        <translation>Spannung Zelle 4:</translation>
    </message>
    <message>
        <source>Voltage Cell 5:</source>
        <translation>Spannung Zelle 5:</translation>
    </message>
    <message>
        <source>Voltage Cell 6:</source>
        <translation>Spannung Zelle 6:</translation>
    </message>
    <message>
        <source>ChargeCurrent:</source>
        <translation>Ladestrom:</translation>
    </message>
    <message>
        <source>Internal Temperature:</source>
        <translation>Interne Temperatur:</translation>
    </message>
    <message>
        <source>External Temperature:</source>
        <translation>Externe Temperatur:</translation>
    </message>
    <message>
        <source>Charged Capacity:</source>
        <translation>Geladene Kapazität:</translation>
    </message>
    <message>
        <source>Accu detection</source>
        <translation>Akkuerkennung</translation>
    </message>
    <message>
        <source>Fitting accus from database:</source>
        <translation>Passende Akkus aus der Datenbank:</translation>
    </message>
    <message>
        <source>new detection</source>
        <translation>Neue Erkennung</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Link:</source>
        <translation>Verbindung:</translation>
    </message>
    <message>
        <source>Voltage Cell 7:</source>
        <translation>Spannung Zelle 7:</translation>
    </message>
    <message>
        <source>Voltage Cell 8:</source>
        <translation>Spannung Zelle 8:</translation>
    </message>
    <message>
        <source>Voltage Cell 9:</source>
        <translation>Spannung Zelle 9:</translation>
    </message>
    <message>
        <source>Voltage Cell 10:</source>
        <translation>Spannung Zelle 10:</translation>
    </message>
    <message>
        <source>Cell spread:</source>
        <translation>Zellendifferenz:</translation>
    </message>
    <message>
        <source>Damaged lines:</source>
        <translation>Beschädigte Zeilen:</translation>
    </message>
    <message>
        <source>Apply to log entry</source>
        <translation>In Logeintrag übernehmen</translation>
    </message>
    <message>
        <source>Opening the port...</source>
        <translation>Port wird geöffnet...</translation>
    </message>
    <message>
        <source>Connected</source>
        <translation>Verbunden</translation>
    </message>
    <message>
        <source>Link lost: no line from the charger</source>
        <translation>Verbindung verloren: keine Zeile vom Ladegerät</translation>
    </message>
    <message>
        <source>The port could not be opened</source>
        <translation>Der Port konnte nicht geöffnet werden</translation>
    </message>
    <message>
        <source>Closed</source>
        <translation>Geschlossen</translation>
    </message>
    <message>
        <source>none</source>
        <translation>keine</translation>
    </message>
    <message>
        <source>The charger sends %1 cells: it is a %2, not the model chosen in the options.</source>
        <translation>Das Ladegerät sendet %1 Zellen: Es ist ein %2, nicht das in den Einstellungen gewählte Modell.</translation>
    </message>
    <message>
        <source>Connected, finding the line speed: trying %1 baud</source>
        <translation>Verbunden, die Übertragungsgeschwindigkeit wird gesucht: versuche %1 Baud</translation>
    </message>
</context>
<context>
    <name>CopyDialog</name>
    <message>
        <source>A new log book &amp;file</source>
        <translation>Eine neue Logbuch-&amp;Datei</translation>
    </message>
    <message>
        <source>A database on a MySQL or MariaDB &amp;server</source>
        <translation>Eine Datenbank auf einem MySQL- oder MariaDB-&amp;Server</translation>
    </message>
    <message>
        <source>Copy log book</source>
        <translation>Logbuch kopieren</translation>
    </message>
    <message>
        <source>Packs, models and entries are copied with their numbers into a new file or into a database that holds no log book yet; missing tables are made. The open log book stays as it is.</source>
        <translation>Akkus, Modelle und Einträge werden mit ihren Nummern in eine neue Datei oder in eine Datenbank kopiert, die noch kein Logbuch enthält; fehlende Tabellen werden angelegt. Das geöffnete Logbuch bleibt, wie es ist.</translation>
    </message>
    <message>
        <source>&amp;Browse...</source>
        <translation>&amp;Durchsuchen...</translation>
    </message>
    <message>
        <source>Host:</source>
        <translation>Host:</translation>
    </message>
    <message>
        <source>Port:</source>
        <translation>Port:</translation>
    </message>
    <message>
        <source>Database:</source>
        <translation>Datenbank:</translation>
    </message>
    <message>
        <source>User:</source>
        <translation>Benutzer:</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Passwort:</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Copy log book to</source>
        <translation>Logbuch kopieren nach</translation>
    </message>
    <message>
        <source>Name the new log book file.</source>
        <translation>Geben Sie die neue Logbuch-Datei an.</translation>
    </message>
    <message>
        <source>Name the server and the database.</source>
        <translation>Geben Sie den Server und die Datenbank an.</translation>
    </message>
</context>
<context>
    <name>CsvExport</name>
    <message>
        <source>%1 cannot be written: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>Writing %1</source>
        <translation>Schreibe %1</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Pack</source>
        <translation>Akku</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>Modell</translation>
    </message>
    <message>
        <source>Duration (s)</source>
        <translation>Dauer (s)</translation>
    </message>
    <message>
        <source>Duration (h:mm:ss)</source>
        <translation>Dauer (h:mm:ss)</translation>
    </message>
    <message>
        <source>Charged (mAh)</source>
        <translation>Geladen (mAh)</translation>
    </message>
    <message>
        <source>Rest capacity (%)</source>
        <translation>Restkapazität (%)</translation>
    </message>
    <message>
        <source>Average current (A)</source>
        <translation>Mittlerer Strom (A)</translation>
    </message>
    <message>
        <source>(deleted pack #%1)</source>
        <translation>(gelöschter Akku #%1)</translation>
    </message>
    <message>
        <source>(deleted model #%1)</source>
        <translation>(gelöschtes Modell #%1)</translation>
    </message>
    <message>
        <source>Uses</source>
        <translation>Nutzungen</translation>
    </message>
    <message>
        <source>Total (s)</source>
        <translation>Gesamt (s)</translation>
    </message>
    <message>
        <source>Total (h:mm:ss)</source>
        <translation>Gesamt (h:mm:ss)</translation>
    </message>
    <message>
        <source>Average (s)</source>
        <translation>Mittel (s)</translation>
    </message>
    <message>
        <source>Average (h:mm:ss)</source>
        <translation>Mittel (h:mm:ss)</translation>
    </message>
    <message>
        <source>Average rest capacity (%)</source>
        <translation>Mittlere Restkapazität (%)</translation>
    </message>
</context>
<context>
    <name>DurationText</name>
    <message>
        <source>A duration must stay below 24 hours.</source>
        <translation>Eine Dauer muss unter 24 Stunden bleiben.</translation>
    </message>
    <message>
        <source>Two digits after each colon, as in 4:05.</source>
        <translation>Nach jedem Doppelpunkt zwei Ziffern, wie in 4:05.</translation>
    </message>
    <message>
        <source>Minutes and seconds after a colon go up to 59.</source>
        <translation>Minuten und Sekunden nach einem Doppelpunkt gehen bis 59.</translation>
    </message>
    <message>
        <source>Too many digits: type 1:05:30 or 10530 for 1 h 5 min 30 s.</source>
        <translation>Zu viele Ziffern: 1:05:30 oder 10530 für 1 Std 5 Min 30 Sek eingeben.</translation>
    </message>
    <message>
        <source>%1 is read as [h]hmmss; minutes and seconds go up to 59.</source>
        <translation>%1 wird als [h]hmmss gelesen; Minuten und Sekunden gehen bis 59.</translation>
    </message>
    <message>
        <source>Type the duration, such as 4:30 or 1:05:30.</source>
        <translation>Die Dauer eingeben, etwa 4:30 oder 1:05:30.</translation>
    </message>
    <message>
        <source>No decimals: use 4:30 for 4 min 30 s.</source>
        <translation>Keine Dezimalstellen: 4:30 für 4 Min 30 Sek eingeben.</translation>
    </message>
    <message>
        <source>Not a duration: type 4:30, 1:05:30, 12 (minutes) or 4 min 30 s.</source>
        <translation>Keine Dauer: 4:30, 1:05:30, 12 (Minuten) oder 4 Min 30 Sek eingeben.</translation>
    </message>
    <message>
        <source>%1 h</source>
        <translation>%1 Std</translation>
    </message>
    <message>
        <source>%1 min</source>
        <translation>%1 Min</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 Sek</translation>
    </message>
</context>
<context>
    <name>EntryDoubts</name>
    <message>
        <source>%1 charged into %2 of %3: %4 of its capacity.</source>
        <translation>%1 in %2 mit %3 geladen: %4 seiner Kapazität.</translation>
    </message>
    <message>
        <source>%1 charged after a use of %2.</source>
        <translation>%1 geladen nach einem Einsatz von %2.</translation>
    </message>
    <message>
        <source>A use of %1 with nothing charged.</source>
        <translation>Ein Einsatz von %1 ohne Ladung.</translation>
    </message>
    <message>
        <source>A use of %1 in %2 (%3): longer than %4.</source>
        <translation>Ein Einsatz von %1 in %2 (%3): länger als %4.</translation>
    </message>
    <message>
        <source>The date %1 is after today, %2.</source>
        <translation>Das Datum %1 liegt nach heute, %2.</translation>
    </message>
</context>
<context>
    <name>ExportDialog</name>
    <message>
        <source>The &amp;log, as filtered and sorted</source>
        <translation>Das &amp;Log, so gefiltert und sortiert wie angezeigt</translation>
    </message>
    <message>
        <source>The statistics per &amp;model</source>
        <translation>Die Statistik pro &amp;Modell</translation>
    </message>
    <message>
        <source>The statistics per &amp;pack</source>
        <translation>Die Statistik pro &amp;Akku</translation>
    </message>
    <message>
        <source>&amp;German spreadsheet: semicolons between the values, a decimal comma</source>
        <translation>&amp;Deutsche Tabellenkalkulation: Semikolon zwischen den Werten, Dezimalkomma</translation>
    </message>
    <message>
        <source>&amp;Byte-order mark, so that spreadsheet programs read umlauts right</source>
        <translation>&amp;Byte-Order-Mark, damit Tabellenkalkulationen Umlaute richtig lesen</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Exportieren</translation>
    </message>
    <message>
        <source>CSV file</source>
        <translation>CSV-Datei</translation>
    </message>
    <message>
        <source>Export...</source>
        <translation>Exportieren...</translation>
    </message>
</context>
<context>
    <name>FileChooser</name>
    <message>
        <source>Log books (*.sqlite)</source>
        <translation>Logbücher (*.sqlite)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>CSV-Dateien (*.csv)</translation>
    </message>
</context>
<context>
    <name>LogBook</name>
    <message>
        <source>The log book is open read-only; nothing can be stored in it.</source>
        <translation>Das Logbuch ist schreibgeschützt geöffnet; es kann nichts darin gespeichert werden.</translation>
    </message>
    <message>
        <source>The database server does not answer. Nothing is stored until it answers again; press F5 to connect again.</source>
        <translation>Der Datenbankserver antwortet nicht. Bis er wieder antwortet, wird nichts gespeichert; mit F5 wird die Verbindung neu aufgebaut.</translation>
    </message>
    <message>
        <source>It was changed or deleted elsewhere in the meantime, so nothing was stored. Its current values are shown now.</source>
        <translation>Der Eintrag wurde inzwischen an anderer Stelle geändert oder gelöscht, daher wurde nichts gespeichert. Jetzt werden seine aktuellen Werte angezeigt.</translation>
    </message>
    <message>
        <source>A text is longer than %1 characters.</source>
        <translation>Ein Text ist länger als %1 Zeichen.</translation>
    </message>
    <message>
        <source>Opening the log book</source>
        <translation>Logbuch wird geöffnet</translation>
    </message>
</context>
<context>
    <name>LogBookCommand</name>
    <message>
        <source>Add entry</source>
        <translation>Eintrag hinzufügen</translation>
    </message>
    <message>
        <source>Change entry</source>
        <translation>Eintrag ändern</translation>
    </message>
    <message>
        <source>Remove entry</source>
        <translation>Eintrag entfernen</translation>
    </message>
    <message numerus="yes">
        <source>Remove %n entries</source>
        <translation>
            <numerusform>%n Eintrag entfernen</numerusform>
            <numerusform>%n Einträge entfernen</numerusform>
        </translation>
    </message>
    <message>
        <source>Add pack</source>
        <translation>Akku hinzufügen</translation>
    </message>
    <message>
        <source>Change pack</source>
        <translation>Akku ändern</translation>
    </message>
    <message>
        <source>Remove pack</source>
        <translation>Akku löschen</translation>
    </message>
    <message>
        <source>Add model</source>
        <translation>Modell hinzufügen</translation>
    </message>
    <message>
        <source>Change model</source>
        <translation>Modell ändern</translation>
    </message>
    <message>
        <source>Remove model</source>
        <translation>Modell löschen</translation>
    </message>
</context>
<context>
    <name>LogBookCopy</name>
    <message>
        <source>and %1 more</source>
        <translation>und %1 weitere</translation>
    </message>
    <message>
        <source>entry %1</source>
        <translation>Eintrag %1</translation>
    </message>
    <message>
        <source>pack %1</source>
        <translation>Akku %1</translation>
    </message>
    <message>
        <source>model %1</source>
        <translation>Modell %1</translation>
    </message>
    <message>
        <source>entries from %1 on</source>
        <translation>Einträge ab %1</translation>
    </message>
    <message>
        <source>packs from %1 on</source>
        <translation>Akkus ab %1</translation>
    </message>
    <message>
        <source>models from %1 on</source>
        <translation>Modelle ab %1</translation>
    </message>
    <message>
        <source>entries %1 to %2</source>
        <translation>Einträge %1 bis %2</translation>
    </message>
    <message>
        <source>packs %1 to %2</source>
        <translation>Akkus %1 bis %2</translation>
    </message>
    <message>
        <source>models %1 to %2</source>
        <translation>Modelle %1 bis %2</translation>
    </message>
    <message>
        <source>Copying</source>
        <translation>Kopiere</translation>
    </message>
    <message>
        <source>Comparing</source>
        <translation>Vergleiche</translation>
    </message>
    <message>
        <source>The copy did not read back the same (%1), so it was not kept.</source>
        <translation>Die Kopie las sich nicht gleich zurück (%1), deshalb wurde sie nicht behalten.</translation>
    </message>
    <message>
        <source>The log book could not be read: %1</source>
        <translation>Das Logbuch konnte nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>%1 already exists, and Tarvelo never replaces a file. Choose a new name.</source>
        <translation>%1 gibt es schon, und Tarvelo ersetzt nie eine Datei. Wählen Sie einen neuen Namen.</translation>
    </message>
    <message>
        <source>%1 cannot be written: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>The target could not be opened: %1</source>
        <translation>Das Ziel konnte nicht geöffnet werden: %1</translation>
    </message>
    <message>
        <source>The database holds a table that is not a log book&apos;s (%1). Copy into an empty database.</source>
        <translation>Die Datenbank enthält eine Tabelle, die nicht zu einem Logbuch gehört (%1). Kopieren Sie in eine leere Datenbank.</translation>
    </message>
    <message>
        <source>%1 rows in %2</source>
        <translation>%1 Zeilen in %2</translation>
    </message>
    <message>
        <source>The database already holds a log book (%1). Tarvelo copies only into a database without rows, so that nothing is mixed or overwritten.</source>
        <translation>Die Datenbank enthält schon ein Logbuch (%1). Tarvelo kopiert nur in eine Datenbank ohne Zeilen, damit nichts vermischt oder überschrieben wird.</translation>
    </message>
    <message>
        <source>Texts longer than the database holds (%1). Shorten them and copy again; nothing was copied.</source>
        <translation>Texte, die länger sind, als die Datenbank fasst (%1). Kürzen Sie sie und kopieren Sie erneut; es wurde nichts kopiert.</translation>
    </message>
    <message>
        <source>%1 bytes where the database holds %2</source>
        <translation>%1 Bytes, wo die Datenbank %2 fasst</translation>
    </message>
    <message>
        <source>The copy could not be given its name %1.</source>
        <translation>Die Kopie konnte ihren Namen %1 nicht bekommen.</translation>
    </message>
    <message>
        <source>Copied %1 models, %2 packs and %3 entries; every row was read back and found the same.</source>
        <translation>%1 Modelle, %2 Akkus und %3 Einträge kopiert; jede Zeile wurde zurückgelesen und war gleich.</translation>
    </message>
    <message>
        <source>The copy is partial: the log book is damaged, and only the rows that could be read were copied. Not read: %1.</source>
        <translation>Die Kopie ist unvollständig: Das Logbuch ist beschädigt, und nur die lesbaren Zeilen wurden kopiert. Nicht gelesen: %1.</translation>
    </message>
    <message>
        <source>rows the log book could not count</source>
        <translation>Zeilen, die das Logbuch nicht zählen konnte</translation>
    </message>
    <message>
        <source>The copy was cancelled; nothing of it was kept.</source>
        <translation>Das Kopieren wurde abgebrochen; nichts davon wurde behalten.</translation>
    </message>
    <message>
        <source>Indexing</source>
        <translation>Indiziere</translation>
    </message>
    <message>
        <source>The tables the copy made (%1) could not be removed again; remove them by hand before copying into that database again.</source>
        <translation>Die Tabellen, die das Kopieren angelegt hat (%1), konnten nicht wieder entfernt werden; entfernen Sie sie von Hand, bevor Sie erneut in diese Datenbank kopieren.</translation>
    </message>
</context>
<context>
    <name>LogBookExchange</name>
    <message>
        <source>log</source>
        <translation>log</translation>
    </message>
    <message>
        <source>models</source>
        <translation>modelle</translation>
    </message>
    <message>
        <source>packs</source>
        <translation>akkus</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Exportieren</translation>
    </message>
    <message>
        <source>Not exported</source>
        <translation>Nicht exportiert</translation>
    </message>
    <message>
        <source>-copy</source>
        <translation>-kopie</translation>
    </message>
    <message>
        <source>the database %1 on %2</source>
        <translation>die Datenbank %1 auf %2</translation>
    </message>
    <message>
        <source>Copy log book</source>
        <translation>Logbuch kopieren</translation>
    </message>
    <message>
        <source>Log book copied</source>
        <translation>Logbuch kopiert</translation>
    </message>
    <message>
        <source>The log book was copied to %1.</source>
        <translation>Das Logbuch wurde nach %1 kopiert.</translation>
    </message>
    <message>
        <source>Copy cancelled</source>
        <translation>Kopieren abgebrochen</translation>
    </message>
    <message>
        <source>Log book not copied</source>
        <translation>Logbuch nicht kopiert</translation>
    </message>
    <message>
        <source>The log book could not be copied to %1:</source>
        <translation>Das Logbuch konnte nicht nach %1 kopiert werden:</translation>
    </message>
</context>
<context>
    <name>LogBookFiles</name>
    <message>
        <source>The folder %1 cannot be made.</source>
        <translation>Der Ordner %1 kann nicht angelegt werden.</translation>
    </message>
    <message>
        <source>Log book not created</source>
        <translation>Logbuch nicht angelegt</translation>
    </message>
    <message>
        <source>The log book
%1
could not be created:
%2</source>
        <translation>Das Logbuch
%1
konnte nicht angelegt werden:
%2</translation>
    </message>
    <message>
        <source>New log book</source>
        <translation>Neues Logbuch</translation>
    </message>
    <message>
        <source>There is no log book
%1
Create a new, empty one there?</source>
        <translation>Es gibt kein Logbuch
%1
Dort ein neues, leeres anlegen?</translation>
    </message>
    <message>
        <source>Create</source>
        <translation>Anlegen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>%1
already exists, and Tarvelo never replaces a file. Choose another name, or open it with File &gt; Open log book.</source>
        <translation>%1
gibt es schon, und Tarvelo ersetzt nie eine Datei. Wählen Sie einen anderen Namen, oder öffnen Sie sie mit Datei &gt; Logbuch öffnen.</translation>
    </message>
    <message>
        <source>Open log book</source>
        <translation>Logbuch öffnen</translation>
    </message>
</context>
<context>
    <name>LogEntryTable</name>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Accu</source>
        <translation>Akku</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>Modell</translation>
    </message>
    <message>
        <source>Charged</source>
        <translation>Geladen</translation>
    </message>
    <message>
        <source>Rest capacity</source>
        <translation>Restkapazität</translation>
    </message>
    <message>
        <source>Avg. current</source>
        <translation>Mittl. Strom</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
</context>
<context>
    <name>LogEntryTableModel</name>
    <message>
        <source>(deleted pack #%1)</source>
        <translation>(gelöschter Akku #%1)</translation>
    </message>
    <message>
        <source>(deleted model #%1)</source>
        <translation>(gelöschtes Modell #%1)</translation>
    </message>
</context>
<context>
    <name>LogTab</name>
    <message>
        <source>Filter by Date error</source>
        <translation>Fehler im Datumsfilter</translation>
    </message>
    <message>
        <source>Start date has to be before end date</source>
        <translation>Das Startdatum muss vor dem Enddatum liegen</translation>
    </message>
    <message>
        <source>Unsaved changes</source>
        <translation>Ungespeicherte Änderungen</translation>
    </message>
    <message>
        <source>The entry of %1 shown in the editor has changes that are not stored.</source>
        <translation>Der Eintrag vom %1 im Editor hat Änderungen, die nicht gespeichert sind.</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Discard</source>
        <translation>Verwerfen</translation>
    </message>
    <message>
        <source>Keep editing</source>
        <translation>Weiter bearbeiten</translation>
    </message>
    <message>
        <source>Error changing entry</source>
        <translation>Fehler beim Ändern</translation>
    </message>
    <message>
        <source>The entry could not be changed in the database.</source>
        <translation>Der Eintrag konnte in der Datenbank nicht geändert werden.</translation>
    </message>
    <message>
        <source>Error adding entry</source>
        <translation>Fehler beim Hinzufügen</translation>
    </message>
    <message>
        <source>The entry could not be stored in the database.</source>
        <translation>Der Eintrag konnte nicht in der Datenbank gespeichert werden.</translation>
    </message>
    <message>
        <source>The entry was stored; the filters hide it.</source>
        <translation>Der Eintrag wurde gespeichert; die Filter blenden ihn aus.</translation>
    </message>
    <message>
        <source>Error removing entry</source>
        <translation>Fehler beim Entfernen</translation>
    </message>
    <message>
        <source>The entry could not be removed from the database.</source>
        <translation>Der Eintrag konnte nicht aus der Datenbank entfernt werden.</translation>
    </message>
    <message>
        <source> entrys</source>
        <translation> Einträge</translation>
    </message>
    <message>
        <source>No log book is open.</source>
        <translation>Kein Logbuch ist geöffnet.</translation>
    </message>
    <message>
        <source>Choose a pack and a model for the entry.</source>
        <translation>Wählen Sie einen Akku und ein Modell für den Eintrag.</translation>
    </message>
    <message>
        <source>Choose the entry to change in the table.</source>
        <translation>Wählen Sie den zu ändernden Eintrag in der Tabelle.</translation>
    </message>
    <message>
        <source>Choose the entry to remove in the table.</source>
        <translation>Wählen Sie den zu entfernenden Eintrag in der Tabelle.</translation>
    </message>
    <message>
        <source>Add your packs and models first</source>
        <translation>Zuerst Akkus und Modelle eintragen</translation>
    </message>
    <message>
        <source>This log book is empty. Enter your packs and your models, then log every use of a pack below. Or look around in a sample log book first; the settings stay as they are.</source>
        <translation>Dieses Logbuch ist leer. Tragen Sie Ihre Akkus und Modelle ein und erfassen Sie dann unten jede Nutzung eines Akkus. Oder sehen Sie sich zuerst ein Beispiel-Logbuch an; die Einstellungen bleiben, wie sie sind.</translation>
    </message>
    <message>
        <source>Packs...</source>
        <translation>Akkus...</translation>
    </message>
    <message>
        <source>Models...</source>
        <translation>Modelle...</translation>
    </message>
    <message>
        <source>Open a demo log book</source>
        <translation>Beispiel-Logbuch öffnen</translation>
    </message>
    <message>
        <source>New log book...</source>
        <translation>Neues Logbuch...</translation>
    </message>
    <message>
        <source>Open log book...</source>
        <translation>Logbuch öffnen...</translation>
    </message>
    <message>
        <source>No log book is open</source>
        <translation>Kein Logbuch ist geöffnet</translation>
    </message>
    <message>
        <source>Open a log book or make a new one. A log book on a server needs the server running and the right settings; F5 tries it again.</source>
        <translation>Öffnen Sie ein Logbuch oder legen Sie ein neues an. Ein Logbuch auf einem Server braucht den laufenden Server und die richtigen Einstellungen; F5 versucht es erneut.</translation>
    </message>
    <message>
        <source>The log book is open read-only.</source>
        <translation>Das Logbuch ist schreibgeschützt geöffnet.</translation>
    </message>
    <message>
        <source>%1, %2 in %3</source>
        <translation>%1, %2 in %3</translation>
    </message>
    <message>
        <source>New entry</source>
        <translation>Neuer Eintrag</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Complete which entry?</source>
        <translation>Welchen Eintrag vervollständigen?</translation>
    </message>
    <message>
        <source>%1 mAh were charged into %2. Which flight do they complete?</source>
        <translation>In %2 wurden %1 mAh geladen. Welchen Flug vervollständigen sie?</translation>
    </message>
    <message>
        <source>Remove the entry of %1, %2 in %3?</source>
        <translation>Den Eintrag vom %1, %2 in %3, entfernen?</translation>
    </message>
    <message>
        <source>Edit &gt; Undo (Ctrl+Z) brings it back.</source>
        <translation>Bearbeiten &gt; Rückgängig (Strg+Z) holt ihn zurück.</translation>
    </message>
    <message numerus="yes">
        <source>Remove the %n selected entries?</source>
        <translation>
            <numerusform>Den %n ausgewählten Eintrag entfernen?</numerusform>
            <numerusform>Die %n ausgewählten Einträge entfernen?</numerusform>
        </translation>
    </message>
    <message>
        <source>Edit &gt; Undo (Ctrl+Z) brings them back.</source>
        <translation>Bearbeiten &gt; Rückgängig (Strg+Z) holt sie zurück.</translation>
    </message>
    <message>
        <source>Remove entries</source>
        <translation>Einträge entfernen</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Don&apos;t ask again</source>
        <translation>Nicht mehr fragen</translation>
    </message>
    <message>
        <source>%1 entries are selected; at most %2 can be removed at once.</source>
        <translation>%1 Einträge sind ausgewählt; höchstens %2 lassen sich auf einmal entfernen.</translation>
    </message>
    <message>
        <source>the edits in the editor</source>
        <translation>die Änderungen im Eingabebereich</translation>
    </message>
    <message>
        <source>This entry looks mistyped:
%1

Store it as it is?</source>
        <translation>Dieser Eintrag sieht vertippt aus:
%1

So speichern?</translation>
    </message>
    <message>
        <source>Check the entry</source>
        <translation>Eintrag prüfen</translation>
    </message>
    <message>
        <source>Store anyway</source>
        <translation>Trotzdem speichern</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Tarvelo</source>
        <translation>Tarvelo</translation>
    </message>
    <message>
        <source>Log Entrys</source>
        <translation>Logbucheinträge</translation>
    </message>
    <message>
        <source>Start date</source>
        <translation>Startdatum</translation>
    </message>
    <message>
        <source>End date</source>
        <translation>Enddatum</translation>
    </message>
    <message>
        <source>Filter by date</source>
        <translation>Nach Datum filtern</translation>
    </message>
    <message>
        <source>Filter by model</source>
        <translation>Nach Modell filtern</translation>
    </message>
    <message>
        <source>Filter by accu</source>
        <translation>Nach Akku filtern</translation>
    </message>
    <message>
        <source>Filter by incomplete</source>
        <translation>Nur unvollständige</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Accu</source>
        <translation>Akku</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>Modell</translation>
    </message>
    <message>
        <source>Charged</source>
        <translation>Geladen</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <source>Change</source>
        <translation>Ändern</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>0 entrys</source>
        <translation>0 Einträge</translation>
    </message>
    <message>
        <source>Model statistics</source>
        <translation>Modellstatistik</translation>
    </message>
    <message>
        <source>Accu statistics</source>
        <translation>Akkustatistik</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Management</source>
        <translation>Verwaltung</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Sprache</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Accus</source>
        <translation>Akkus</translation>
    </message>
    <message>
        <source>Models</source>
        <translation>Modelle</translation>
    </message>
    <message>
        <source>English</source>
        <translation>Englisch</translation>
    </message>
    <message>
        <source>German</source>
        <translation>Deutsch</translation>
    </message>
    <message>
        <source>Show ChargerStatus</source>
        <translation>Ladegerätestatus anzeigen</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Filter by Date error</source>
        <translation>Fehler im Datumsfilter</translation>
    </message>
    <message>
        <source>Start date has to be before end date</source>
        <translation>Das Startdatum muss vor dem Enddatum liegen</translation>
    </message>
    <message>
        <source>Couldn&apos;t open port
</source>
        <translation>Der Port konnte nicht geöffnet werden
</translation>
    </message>
    <message>
        <source>Couldn&apos;t open port %s
</source>
        <translation>Der Port %s konnte nicht geöffnet werden
</translation>
    </message>
    <message>
        <source>Error opening port</source>
        <translation>Fehler beim Öffnen des Ports</translation>
    </message>
    <message>
        <source>Error changing language</source>
        <translation>Fehler beim Sprachwechsel</translation>
    </message>
    <message>
        <source>Couldn&apos;t load german language file
</source>
        <translation>Die deutsche Sprachdatei konnte nicht geladen werden
</translation>
    </message>
    <message>
        <source>View</source>
        <translation>Ansicht</translation>
    </message>
    <message>
        <source>Reload</source>
        <translation>Neu laden</translation>
    </message>
    <message>
        <source>Error reloading</source>
        <translation>Fehler beim Neuladen</translation>
    </message>
    <message>
        <source>The log book could not be read again:
</source>
        <translation>Das Logbuch konnte nicht neu gelesen werden:
</translation>
    </message>
    <message>
        <source>The folder %1 cannot be written.</source>
        <translation>In den Ordner %1 kann nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>Error creating the demo log book</source>
        <translation>Fehler beim Anlegen des Beispiel-Logbuchs</translation>
    </message>
    <message>
        <source>Settings not read</source>
        <translation>Einstellungen nicht gelesen</translation>
    </message>
    <message>
        <source>Settings not saved</source>
        <translation>Einstellungen nicht gespeichert</translation>
    </message>
    <message>
        <source>Could not read the settings in
%1
Tarvelo starts with its defaults.</source>
        <translation>Die Einstellungen in
%1
konnten nicht gelesen werden. Tarvelo startet mit seinen Standardeinstellungen.</translation>
    </message>
    <message>
        <source>Could not save the window and language to
%1
Is the file or its folder read-only?</source>
        <translation>Fenster und Sprache konnten nicht gespeichert werden in
%1
Ist die Datei oder ihr Ordner schreibgeschützt?</translation>
    </message>
    <message>
        <source>Open recent</source>
        <translation>Zuletzt geöffnet</translation>
    </message>
    <message>
        <source>New log book...</source>
        <translation>Neues Logbuch...</translation>
    </message>
    <message>
        <source>Open log book...</source>
        <translation>Logbuch öffnen...</translation>
    </message>
    <message>
        <source>Log book not opened</source>
        <translation>Logbuch nicht geöffnet</translation>
    </message>
    <message>
        <source>The log book
%1
could not be opened:
%2

Open another one with File &gt; Open log book, or make a new one with File &gt; New log book.</source>
        <translation>Das Logbuch
%1
konnte nicht geöffnet werden:
%2

Öffnen Sie ein anderes mit Datei &gt; Logbuch öffnen, oder legen Sie ein neues an mit Datei &gt; Neues Logbuch.</translation>
    </message>
    <message>
        <source>The log book &quot;%1&quot; on the server %2, port %3, could not be opened:
%4

Check that the server runs and can be reached, and the database settings under Settings &gt; Settings; then press F5 to try again.</source>
        <translation>Das Logbuch &quot;%1&quot; auf dem Server %2, Port %3, konnte nicht geöffnet werden:
%4

Prüfen Sie, ob der Server läuft und erreichbar ist, und die Datenbank-Einstellungen unter Einstellungen &gt; Einstellungen; dann versuchen Sie es mit F5 erneut.</translation>
    </message>
    <message>
        <source>There is no log book
%1</source>
        <translation>Es gibt kein Logbuch
%1</translation>
    </message>
    <message>
        <source>%1
is not a log book Tarvelo can open:
%2</source>
        <translation>%1
ist kein Logbuch, das Tarvelo öffnen kann:
%2</translation>
    </message>
    <message>
        <source>The log book is open for now, but could not be kept as your choice in
%1
Is the file or its folder read-only?</source>
        <translation>Das Logbuch ist vorerst geöffnet, konnte aber nicht als Ihre Wahl gespeichert werden in
%1
Ist die Datei oder ihr Ordner schreibgeschützt?</translation>
    </message>
    <message>
        <source>%1 (read-only)</source>
        <translation>%1 (schreibgeschützt)</translation>
    </message>
    <message>
        <source>%1 (offline: press F5 to connect again)</source>
        <translation>%1 (offline: F5 verbindet neu)</translation>
    </message>
    <message>
        <source>The log book is damaged: %1
%2 rows could not be read. It is open read-only, with every row that could be read; nothing is written into it. Keep a copy of the file and restore a backup.</source>
        <translation>Das Logbuch ist beschädigt: %1
%2 Zeilen konnten nicht gelesen werden. Es ist schreibgeschützt geöffnet, mit allen lesbaren Zeilen; es wird nichts hineingeschrieben. Bewahren Sie eine Kopie der Datei auf und spielen Sie eine Sicherung zurück.</translation>
    </message>
    <message>
        <source>Damaged log book</source>
        <translation>Beschädigtes Logbuch</translation>
    </message>
    <message>
        <source>Pack history...</source>
        <translation>Akkuverlauf...</translation>
    </message>
    <message>
        <source>Pack history</source>
        <translation>Akkuverlauf</translation>
    </message>
    <message>
        <source>The log book has no packs yet.</source>
        <translation>Das Logbuch enthält noch keine Akkus.</translation>
    </message>
    <message>
        <source>The history of which pack?</source>
        <translation>Den Verlauf welches Akkus?</translation>
    </message>
    <message>
        <source>Search packs, models, dates</source>
        <translation>Akkus, Modelle, Daten suchen</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederholen</translation>
    </message>
    <message>
        <source>&amp;New entry</source>
        <translation>&amp;Neuer Eintrag</translation>
    </message>
    <message>
        <source>&amp;Store entry</source>
        <translation>Eintrag &amp;speichern</translation>
    </message>
    <message>
        <source>Adds the new entry, or stores the changes of the one shown (Enter in the editor)</source>
        <translation>Fügt den neuen Eintrag hinzu oder speichert die Änderungen am angezeigten (Enter im Editor)</translation>
    </message>
    <message>
        <source>&amp;Discard changes</source>
        <translation>Änderungen &amp;verwerfen</translation>
    </message>
    <message>
        <source>Shows the entry as stored again (Esc in the editor or the table)</source>
        <translation>Zeigt den Eintrag wieder so, wie er gespeichert ist (Esc im Editor oder in der Tabelle)</translation>
    </message>
    <message>
        <source>Re&amp;move entry</source>
        <translation>Eintrag &amp;entfernen</translation>
    </message>
    <message>
        <source>Removes the selected entries (Delete in the table)</source>
        <translation>Entfernt die ausgewählten Einträge (Entf in der Tabelle)</translation>
    </message>
    <message>
        <source>&amp;Find</source>
        <translation>&amp;Suchen</translation>
    </message>
    <message>
        <source>&amp;Ask before removing entries</source>
        <translation>Vor dem Entfernen von Einträgen &amp;fragen</translation>
    </message>
    <message>
        <source>Export...</source>
        <translation>Exportieren...</translation>
    </message>
    <message>
        <source>Copy log book to...</source>
        <translation>Logbuch kopieren nach...</translation>
    </message>
    <message>
        <source>4:30, 1:05:30, 12 (minutes), 0430 or 4 min 30 s</source>
        <translation>4:30, 1:05:30, 12 (Minuten), 0430 oder 4 Min 30 Sek</translation>
    </message>
</context>
<context>
    <name>ModelEntry</name>
    <message>
        <source>Plane</source>
        <translation>Flugzeug</translation>
    </message>
    <message>
        <source>Heli</source>
        <translation>Heli</translation>
    </message>
    <message>
        <source>Car</source>
        <translation>Auto</translation>
    </message>
    <message>
        <source>Boat</source>
        <translation>Boot</translation>
    </message>
    <message>
        <source>RC</source>
        <translation>RC</translation>
    </message>
</context>
<context>
    <name>ModelManagementDialog</name>
    <message>
        <source>Model management</source>
        <translation>Modellverwaltung</translation>
    </message>
    <message>
        <source>Modelname</source>
        <translation>Modellname</translation>
    </message>
    <message>
        <source>Typ</source>
        <translation>Typ</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <source>Change</source>
        <translation>Ändern</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Database error</source>
        <translation>Datenbankfehler</translation>
    </message>
    <message>
        <source>Couldn&apos;t add the model
</source>
        <translation>Das Modell konnte nicht hinzugefügt werden
</translation>
    </message>
    <message>
        <source>Couldn&apos;t change the model
</source>
        <translation>Das Modell konnte nicht geändert werden
</translation>
    </message>
    <message>
        <source>Couldn&apos;t delete the model
</source>
        <translation>Das Modell konnte nicht gelöscht werden
</translation>
    </message>
    <message>
        <source>A model needs a name.</source>
        <translation>Ein Modell braucht einen Namen.</translation>
    </message>
    <message>
        <source>Delete model</source>
        <translation>Modell löschen</translation>
    </message>
    <message>
        <source>%2 log entries refer to the model &quot;%1&quot;. Delete it anyway? The entries are kept and show it as a deleted model.</source>
        <translation>%2 Logbucheinträge verweisen auf das Modell &quot;%1&quot;. Trotzdem löschen? Die Einträge bleiben erhalten und zeigen es als gelöschtes Modell.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>ModelStatsTable</name>
    <message>
        <source>Model</source>
        <translation>Modell</translation>
    </message>
    <message>
        <source>Number of flights</source>
        <translation>Anzahl Flüge</translation>
    </message>
    <message>
        <source>overall flight time</source>
        <translation>Gesamte Flugzeit</translation>
    </message>
    <message>
        <source>avg. time per flight</source>
        <translation>Mittlere Zeit pro Flug</translation>
    </message>
    <message>
        <source>avg. current</source>
        <translation>Mittlerer Strom</translation>
    </message>
    <message>
        <source>avg. rest capacity</source>
        <translation>Mittlere Restkapazität</translation>
    </message>
</context>
<context>
    <name>OptionsDialog</name>
    <message>
        <source>Options</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Database</source>
        <translation>Datenbank</translation>
    </message>
    <message>
        <source>Hostname</source>
        <translation>Rechnername</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>User</source>
        <translation>Benutzer</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Passwort</translation>
    </message>
    <message>
        <source>use SqLite</source>
        <translation>SqLite verwenden</translation>
    </message>
    <message>
        <source>Charger</source>
        <translation>Ladegerät</translation>
    </message>
    <message>
        <source>use charger</source>
        <translation>Ladegerät verwenden</translation>
    </message>
    <message>
        <source>none</source>
        <translation>keiner</translation>
    </message>
    <message>
        <source>Open sqlite file</source>
        <translation>SqLite-Datei öffnen</translation>
    </message>
    <message>
        <source>Settings not saved</source>
        <translation>Einstellungen nicht gespeichert</translation>
    </message>
    <message>
        <source>Could not save the settings to
%1
Is the file or its folder read-only?</source>
        <translation>Die Einstellungen konnten nicht gespeichert werden in
%1
Ist die Datei oder ihr Ordner schreibgeschützt?</translation>
    </message>
    <message>
        <source>Line speed</source>
        <translation>Übertragungsrate</translation>
    </message>
    <message>
        <source>9600 baud</source>
        <translation>9600 Baud</translation>
    </message>
    <message>
        <source>128 000 baud</source>
        <translation>128 000 Baud</translation>
    </message>
    <message>
        <source>Packs</source>
        <translation>Akkus</translation>
    </message>
    <message>
        <source>Cycles after which a pack should be retired. The pack statistics mark packs from 80 % of their limit on (amber) and at their limit (red).</source>
        <translation>Zyklen, nach denen ein Akku ausgemustert werden sollte. Die Akkustatistik markiert Akkus ab 80 % ihrer Grenze (gelb) und ab der Grenze (rot).</translation>
    </message>
    <message>
        <source> cycles</source>
        <translation> Zyklen</translation>
    </message>
    <message>
        <source>automatic: the model&apos;s speed first (106B+, 1010B+: 9600; 208B+: 128 000), then the other</source>
        <translation>automatisch: zuerst die des Modells (106B+, 1010B+: 9600; 208B+: 128 000), dann die andere</translation>
    </message>
    <message>
        <source>likely an iCharger</source>
        <translation>wahrscheinlich ein iCharger</translation>
    </message>
    <message>
        <source>no permission</source>
        <translation>keine Berechtigung</translation>
    </message>
    <message>
        <source>Kept as %1: the name stays the same in any USB socket.</source>
        <translation>Gespeichert als %1: Der Name bleibt in jeder USB-Buchse derselbe.</translation>
    </message>
    <message>
        <source>Serial number %1</source>
        <translation>Seriennummer %1</translation>
    </message>
</context>
<context>
    <name>PackHistoryWindow</name>
    <message>
        <source>Pack:</source>
        <translation>Akku:</translation>
    </message>
    <message>
        <source>Cycles:</source>
        <translation>Zyklen:</translation>
    </message>
    <message>
        <source>First use:</source>
        <translation>Erster Einsatz:</translation>
    </message>
    <message>
        <source>Last use:</source>
        <translation>Letzter Einsatz:</translation>
    </message>
    <message>
        <source>Total time:</source>
        <translation>Gesamtzeit:</translation>
    </message>
    <message>
        <source>Average current:</source>
        <translation>Mittlerer Strom:</translation>
    </message>
    <message>
        <source>Models:</source>
        <translation>Modelle:</translation>
    </message>
    <message>
        <source> uses</source>
        <translation> Einsätze</translation>
    </message>
    <message>
        <source>History of %1</source>
        <translation>Verlauf von %1</translation>
    </message>
    <message>
        <source>%1 of %2 for %3 packs</source>
        <translation>%1 von %2 für %3-Akkus</translation>
    </message>
    <message>
        <source>none</source>
        <translation>keiner</translation>
    </message>
    <message>
        <source>deleted model %1</source>
        <translation>gelöschtes Modell %1</translation>
    </message>
    <message>
        <source>%1 % per 100 uses</source>
        <translation>%1 % pro 100 Einsätze</translation>
    </message>
    <message>
        <source>too few uses with a rest capacity</source>
        <translation>zu wenige Einsätze mit Restkapazität</translation>
    </message>
    <message>
        <source>Rest capacity and charged mAh by use</source>
        <translation>Restkapazität und geladene mAh je Einsatz</translation>
    </message>
    <message>
        <source>Use %1, %2: %3 % rest, %4 mAh charged</source>
        <translation>Einsatz %1, %2: %3 % Rest, %4 mAh geladen</translation>
    </message>
    <message>
        <source>Use</source>
        <translation>Einsatz</translation>
    </message>
    <message>
        <source>Rest capacity (%)</source>
        <translation>Restkapazität (%)</translation>
    </message>
    <message>
        <source>Charged (mAh)</source>
        <translation>Geladen (mAh)</translation>
    </message>
    <message>
        <source>Trend</source>
        <translation>Trend</translation>
    </message>
    <message>
        <source>Uses</source>
        <translation>Einsätze</translation>
    </message>
    <message>
        <source>Uses per month</source>
        <translation>Einsätze pro Monat</translation>
    </message>
    <message>
        <source>Rest capacity trend:</source>
        <translation>Trend der Restkapazität:</translation>
    </message>
    <message>
        <source>Over the last:</source>
        <translation>Über die letzten:</translation>
    </message>
    <message>
        <source>%1 more</source>
        <translation>%1 weitere</translation>
    </message>
    <message>
        <source>other models</source>
        <translation>andere Modelle</translation>
    </message>
</context>
<context>
    <name>PortAdvice</name>
    <message>
        <source>%1 is in use by another program (a terminal program, say, or ModemManager taking it for a modem). Close it and try again.</source>
        <translation>%1 wird von einem anderen Programm benutzt (etwa einem Terminalprogramm oder dem ModemManager, der ihn für ein Modem hält). Beenden Sie es und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>%1 is not there: is the charger plugged in and switched on?</source>
        <translation>%1 ist nicht vorhanden: Ist das Ladegerät angesteckt und eingeschaltet?</translation>
    </message>
    <message>
        <source>The port</source>
        <translation>Der Anschluss</translation>
    </message>
    <message>
        <source>You may not open %1 (%2): serial ports belong to the group &quot;%3&quot;, and you are not in it.</source>
        <translation>Sie dürfen %1 (%2) nicht öffnen: Serielle Anschlüsse gehören der Gruppe „%3“, und Sie sind nicht Mitglied.</translation>
    </message>
    <message>
        <source>Tarvelo&apos;s rule %1 lets whoever is logged in at this computer use an iCharger: unplug the charger and plug it in again.</source>
        <translation>Tarvelos Regel %1 lässt jeden, der an diesem Computer angemeldet ist, einen iCharger benutzen: Ziehen Sie das Ladegerät ab und stecken Sie es wieder an.</translation>
    </message>
    <message>
        <source>Either install Tarvelo&apos;s rule, which lets whoever is logged in at this computer use an iCharger: sudo cp %1 /etc/udev/rules.d/, then unplug the charger and plug it in again.</source>
        <translation>Installieren Sie entweder Tarvelos Regel, die jeden, der an diesem Computer angemeldet ist, einen iCharger benutzen lässt: sudo cp %1 /etc/udev/rules.d/, dann ziehen Sie das Ladegerät ab und stecken es wieder an.</translation>
    </message>
    <message>
        <source>Or join the group: sudo usermod -aG %1 $USER, then log out and in again.</source>
        <translation>Oder treten Sie der Gruppe bei: sudo usermod -aG %1 $USER, dann ab- und wieder anmelden.</translation>
    </message>
    <message>
        <source>An iCharger is plugged in (its USB bridge 10c4:ea60), but it has no serial port: brltty, the braille display service, has taken it. If you use no braille display, remove brltty (sudo apt remove brltty) and plug the charger in again.</source>
        <translation>Ein iCharger ist angesteckt (seine USB-Brücke 10c4:ea60), hat aber keinen seriellen Anschluss: brltty, der Dienst für Braillezeilen, hat ihn belegt. Wenn Sie keine Braillezeile benutzen, entfernen Sie brltty (sudo apt remove brltty) und stecken Sie das Ladegerät wieder an.</translation>
    </message>
</context>
<context>
    <name>SimulatorPorts</name>
    <message>
        <source>Could not read the simulator folder %1</source>
        <translation>Der Simulator-Ordner %1 konnte nicht gelesen werden</translation>
    </message>
    <message>
        <source>Charger simulator</source>
        <translation>Ladegeräte-Simulator</translation>
    </message>
</context>
<context>
    <name>SqlBase</name>
    <message>
        <source>Connecting</source>
        <translation>Verbinde</translation>
    </message>
    <message>
        <source>Reading packs and models</source>
        <translation>Lese Akkus und Modelle</translation>
    </message>
    <message>
        <source>Reading the log</source>
        <translation>Lese das Log</translation>
    </message>
    <message>
        <source>Ordering the log</source>
        <translation>Ordne das Log</translation>
    </message>
    <message>
        <source>Checking the log book for damage</source>
        <translation>Prüfe das Logbuch auf Schäden</translation>
    </message>
</context>
<context>
    <name>UndoHistory</name>
    <message>
        <source>&quot;%1&quot; could not be undone.</source>
        <translation>„%1“ konnte nicht rückgängig gemacht werden.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; could not be redone.</source>
        <translation>„%1“ konnte nicht wiederholt werden.</translation>
    </message>
    <message>
        <source>It is no longer in the history.</source>
        <translation>Der Schritt ist nicht mehr im Verlauf.</translation>
    </message>
    <message>
        <source>Undo refused</source>
        <translation>Rückgängig nicht möglich</translation>
    </message>
    <message>
        <source>Redo refused</source>
        <translation>Wiederholen nicht möglich</translation>
    </message>
    <message>
        <source>&amp;Undo %1</source>
        <translation>&amp;Rückgängig: %1</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation>&amp;Wiederholen: %1</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederholen</translation>
    </message>
</context>
<context>
    <name>WearMark</name>
    <message>
        <source>%1 of the %2 cycles set for %3 packs: time to retire it</source>
        <translation>%1 der %2 Zyklen, die für %3-Akkus gelten: Zeit, ihn auszumustern</translation>
    </message>
    <message>
        <source>%1 of the %2 cycles set for %3 packs: nearing its limit</source>
        <translation>%1 der %2 Zyklen, die für %3-Akkus gelten: nahe an seiner Grenze</translation>
    </message>
</context>
<context>
    <name>WorkDialog</name>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Stopping...</source>
        <translation>Wird angehalten...</translation>
    </message>
</context>
<context>
    <name>iCharger</name>
    <message>
        <source>Disconnected</source>
        <translation>Getrennt</translation>
    </message>
    <message>
        <source>Charging</source>
        <translation>Laden</translation>
    </message>
    <message>
        <source>Discharging</source>
        <translation>Entladen</translation>
    </message>
    <message>
        <source>Monitor</source>
        <translation>Überwachen</translation>
    </message>
    <message>
        <source>Waiting</source>
        <translation>Warten</translation>
    </message>
    <message>
        <source>Test Motor</source>
        <translation>Motortest</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Fertig</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>LiXX trickle</source>
        <translation>LiXX Erhaltungsladung</translation>
    </message>
    <message>
        <source>NiXX trickle</source>
        <translation>NiXX Erhaltungsladung</translation>
    </message>
    <message>
        <source>Foam cut</source>
        <translation>Schaumstoffschneiden</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>ExDischaring</source>
        <translation>Ext. Entladen</translation>
    </message>
    <message>
        <source>Unknown status %1</source>
        <translation>Unbekannter Status %1</translation>
    </message>
</context>
</TS>
