<?xml version='1.0' encoding='utf-8'?>
<TS version="2.1" language="en" sourcelanguage="pl">
<context>
    <name>QObject</name>
    <message>
        <source>Nie można otworzyć pliku %1: %2</source>
        <translation>Cannot open the file %1: %2</translation>
    </message>
    <message>
        <source>Otwórz historię albo scenariusz</source>
        <translation>Open a story or a scenario</translation>
    </message>
    <message>
        <source>Historie i scenariusze (*.txt *.Kro *.kro *.KRO);;Wszystkie pliki (*)</source>
        <translation>Stories and scenarios (*.txt *.Kro *.kro *.KRO);;All files (*)</translation>
    </message>
    <message>
        <source>Zapisz historię</source>
        <translation>Save the story</translation>
    </message>
    <message>
        <source>Historie (*.txt)</source>
        <translation>Stories (*.txt)</translation>
    </message>
    <message>
        <source>Sprawdzanie dźwięku nie powiodło się</source>
        <translation>Checking the sound failed</translation>
    </message>
</context>
<context>
    <name>editor::EditorWindow</name>
    <message>
        <source>Szukaj kroku</source>
        <translation>Find a step</translation>
    </message>
    <message>
        <source>Szukaj: numer, @etykieta, nazwa, tekst</source>
        <translation>Find: number, @label, name, text</translation>
    </message>
    <message>
        <source>Kroki</source>
        <translation>Steps</translation>
    </message>
    <message>
        <source>Źródło</source>
        <translation>Source</translation>
    </message>
    <message>
        <source>Problemy</source>
        <translation>Problems</translation>
    </message>
    <message>
        <source>Podgląd</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>&amp;Plik</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;Nowy</source>
        <translation>&amp;New</translation>
    </message>
    <message>
        <source>&amp;Otwórz…</source>
        <translation>&amp;Open…</translation>
    </message>
    <message>
        <source>Ostatnio &amp;otwierane</source>
        <translation>Open &amp;recent</translation>
    </message>
    <message>
        <source>&amp;Zapisz</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>Zapisz &amp;jako…</source>
        <translation>Save &amp;as…</translation>
    </message>
    <message>
        <source>Zbuduj &amp;scenariusz</source>
        <translation>&amp;Build scenario</translation>
    </message>
    <message>
        <source>Za&amp;kończ</source>
        <translation>&amp;Quit</translation>
    </message>
    <message>
        <source>&amp;Edycja</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>&amp;Cofnij</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>&amp;Ponów</source>
        <translation>&amp;Redo</translation>
    </message>
    <message>
        <source>&amp;Szukaj kroku</source>
        <translation>&amp;Find a step</translation>
    </message>
    <message>
        <source>&amp;Wstaw</source>
        <translation>&amp;Insert</translation>
    </message>
    <message>
        <source>Sprawdzaj &amp;pisownię</source>
        <translation>Check &amp;spelling</translation>
    </message>
    <message>
        <source>Sprawdzanie pisowni włączone</source>
        <translation>Spell checking on</translation>
    </message>
    <message>
        <source>Sprawdzanie pisowni wyłączone</source>
        <translation>Spell checking off</translation>
    </message>
    <message>
        <source>&amp;Krok</source>
        <translation>&amp;Step</translation>
    </message>
    <message>
        <source>&amp;Dodaj krok</source>
        <translation>&amp;Add step</translation>
    </message>
    <message>
        <source>D&amp;uplikuj krok</source>
        <translation>D&amp;uplicate step</translation>
    </message>
    <message>
        <source>&amp;Usuń krok</source>
        <translation>&amp;Delete step</translation>
    </message>
    <message>
        <source>Przesuń w &amp;górę</source>
        <translation>Move &amp;up</translation>
    </message>
    <message>
        <source>Przesuń w &amp;dół</source>
        <translation>Move do&amp;wn</translation>
    </message>
    <message>
        <source>Zmień &amp;numer…</source>
        <translation>Change &amp;number…</translation>
    </message>
    <message>
        <source>&amp;Gra</source>
        <translation>&amp;Game</translation>
    </message>
    <message>
        <source>Graj od tego &amp;kroku</source>
        <translation>Play from this &amp;step</translation>
    </message>
    <message>
        <source>Graj od &amp;początku</source>
        <translation>Play from the &amp;beginning</translation>
    </message>
    <message>
        <source>&amp;Widok</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>&amp;Kroki</source>
        <translation>&amp;Steps</translation>
    </message>
    <message>
        <source>&amp;Formularz</source>
        <translation>&amp;Form</translation>
    </message>
    <message>
        <source>Ź&amp;ródło</source>
        <translation>S&amp;ource</translation>
    </message>
    <message>
        <source>&amp;Problemy</source>
        <translation>&amp;Problems</translation>
    </message>
    <message>
        <source>Początek</source>
        <translation>Beginning</translation>
    </message>
    <message>
        <source>Otwarto %1</source>
        <translation>Opened %1</translation>
    </message>
    <message>
        <source>Dziennik zmian %1 nie da się odczytać: %2
Usunąć go?</source>
        <translation>The change journal %1 cannot be read: %2
Delete it?</translation>
    </message>
    <message>
        <source>Edytor zakończył pracę bez zapisania zmian (%1). Przywrócić je?</source>
        <translation>The editor ended without saving its changes (%1). Bring them back?</translation>
    </message>
    <message>
        <source>Przywrócono niezapisane zmiany</source>
        <translation>Unsaved changes brought back</translation>
    </message>
    <message>
        <source>nowej historii</source>
        <translation>the new story</translation>
    </message>
    <message>
        <source>Zapisać zmiany w %1?</source>
        <translation>Save the changes to %1?</translation>
    </message>
    <message>
        <source>Plik %1 już istnieje. Zastąpić go?</source>
        <translation>The file %1 already exists. Replace it?</translation>
    </message>
    <message>
        <source>Zapisano %1</source>
        <translation>Saved %1</translation>
    </message>
    <message>
        <source>Historia ma błędy (%1); popraw je przed zbudowaniem.</source>
        <translation>The story has errors (%1); fix them before building.</translation>
    </message>
    <message>
        <source>Scenariusz %1 już istnieje. Zastąpić go?</source>
        <translation>The scenario %1 already exists. Replace it?</translation>
    </message>
    <message>
        <source>Zbudowano %1: %2</source>
        <translation>Built %1: %2</translation>
    </message>
    <message>
        <source>nowa.txt</source>
        <translation>new.txt</translation>
    </message>
    <message>
        <source>Dodano krok %1</source>
        <translation>Added step %1</translation>
    </message>
    <message>
        <source>Powielono krok jako krok %1</source>
        <translation>Duplicated the step as step %1</translation>
    </message>
    <message>
        <source>Do kroku %1 prowadzą: %2. Ich wybory będą prowadzić do kroku 0. Usunąć krok?</source>
        <translation>Step %1 is reached from: %2. Their choices will lead to step 0. Delete the step?</translation>
    </message>
    <message>
        <source>Usunięto krok %1</source>
        <translation>Deleted step %1</translation>
    </message>
    <message>
        <source>Krok ma teraz numer %1</source>
        <translation>The step is now number %1</translation>
    </message>
    <message>
        <source>Nowy numer kroku</source>
        <translation>New step number</translation>
    </message>
    <message>
        <source>Nowa historia</source>
        <translation>New story</translation>
    </message>
    <message>
        <source>&amp;Cofnij: %1</source>
        <translation>&amp;Undo: %1</translation>
    </message>
    <message>
        <source>&amp;Ponów: %1</source>
        <translation>&amp;Redo: %1</translation>
    </message>
</context>
<context>
    <name>editor::FieldMarks</name>
    <message>
        <source>„%1” – nie ma w słowniku</source>
        <translation>“%1” – not in the dictionary</translation>
    </message>
    <message>
        <source>(brak podpowiedzi)</source>
        <translation>(no suggestions)</translation>
    </message>
    <message>
        <source>Dodaj do słownika tej historii</source>
        <translation>Add to this story's dictionary</translation>
    </message>
    <message>
        <source>Dodano „%1” do słownika tej historii</source>
        <translation>Added “%1” to this story's dictionary</translation>
    </message>
</context>
<context>
    <name>editor::PlayTest</name>
    <message>
        <source>Historia ma błędy (%1); popraw je, zanim zagrasz.</source>
        <translation>The story has errors (%1); fix them before playing.</translation>
    </message>
    <message>
        <source>Nie można utworzyć folderu tymczasowego: %1</source>
        <translation>Cannot create a temporary folder: %1</translation>
    </message>
</context>
<context>
    <name>editor::ProblemsPanel</name>
    <message>
        <source>Problemy</source>
        <translation>Problems</translation>
    </message>
    <message>
        <source>Brak problemów</source>
        <translation>No problems</translation>
    </message>
</context>
<context>
    <name>editor::SourceView</name>
    <message>
        <source>Źródło</source>
        <translation>Source</translation>
    </message>
</context>
<context>
    <name>editor::StepForm</name>
    <message>
        <source>%1 z %2 znaków – za długi</source>
        <translation>%1 of %2 characters – too long</translation>
    </message>
    <message>
        <source>%1 z %2 znaków</source>
        <translation>%1 of %2 characters</translation>
    </message>
    <message>
        <source>koniec gry</source>
        <translation>end of the game</translation>
    </message>
    <message>
        <source>przyciski jak na poprzednim kroku</source>
        <translation>buttons as on the previous step</translation>
    </message>
    <message>
        <source>przycisk 1</source>
        <translation>button 1</translation>
    </message>
    <message>
        <source>przyciski 1–%1</source>
        <translation>buttons 1–%1</translation>
    </message>
    <message>
        <source>%1/%2 – za długi</source>
        <translation>%1/%2 – too long</translation>
    </message>
    <message>
        <source>&amp;Nazwa</source>
        <translation>&amp;Name</translation>
    </message>
    <message>
        <source>&amp;Typ</source>
        <translation>&amp;Type</translation>
    </message>
    <message>
        <source>&amp;Obraz</source>
        <translation>&amp;Picture</translation>
    </message>
    <message>
        <source>Odtwórz</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>&amp;Dźwięk</source>
        <translation>So&amp;und</translation>
    </message>
    <message>
        <source>Op&amp;is</source>
        <translation>&amp;Description</translation>
    </message>
    <message>
        <source>Wybór &amp;%1</source>
        <translation>Choice &amp;%1</translation>
    </message>
    <message>
        <source>numer, @etykieta albo nazwa kroku</source>
        <translation>number, @label or a step's name</translation>
    </message>
    <message>
        <source>Nowy krok</source>
        <translation>New step</translation>
    </message>
    <message>
        <source>Nowy krok jako cel %1</source>
        <translation>New step as target %1</translation>
    </message>
    <message>
        <source>Cel %1</source>
        <translation>Target %1</translation>
    </message>
    <message>
        <source>bez obrazu</source>
        <translation>no picture</translation>
    </message>
    <message>
        <source>Obraz %1, %2 na %3</source>
        <translation>Picture %1, %2 by %3</translation>
    </message>
    <message>
        <source>Zatrzymaj</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Nie ma kroku „%1”</source>
        <translation>There is no step “%1”</translation>
    </message>
    <message>
        <source>Dodano krok %1 jako cel wyboru %2</source>
        <translation>Added step %1 as the target of choice %2</translation>
    </message>
</context>
<context>
    <name>editor::StepListModel</name>
    <message>
        <source>początek</source>
        <translation>beginning</translation>
    </message>
    <message>
        <source>zakończenie</source>
        <translation>ending</translation>
    </message>
    <message>
        <source>pułapka</source>
        <translation>trap</translation>
    </message>
    <message>
        <source>nieosiągalny</source>
        <translation>unreachable</translation>
    </message>
    <message>
        <source>problemy</source>
        <translation>problems</translation>
    </message>
</context>
<context>
    <name>editor::StepPreview</name>
    <message>
        <source>Podgląd</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>Problemy podglądu</source>
        <translation>The preview's problems</translation>
    </message>
</context>
<context>
    <name>editor::Typography</name>
    <message>
        <source>Cudzysłów „…”</source>
        <translation>Quotes „…”</translation>
    </message>
    <message>
        <source>Cudzysłów otwierający „</source>
        <translation>Opening quote „</translation>
    </message>
    <message>
        <source>Cudzysłów zamykający ”</source>
        <translation>Closing quote ”</translation>
    </message>
    <message>
        <source>Półpauza –</source>
        <translation>En dash –</translation>
    </message>
    <message>
        <source>Pauza —</source>
        <translation>Em dash —</translation>
    </message>
    <message>
        <source>Wielokropek …</source>
        <translation>Ellipsis …</translation>
    </message>
    <message>
        <source>Zamieniaj " na „ i ” w opisie i wyborach</source>
        <translation>Replace " with „ and ” in the description and choices</translation>
    </message>
</context>
</TS>