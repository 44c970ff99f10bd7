<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="nb" sourcelanguage="nb">
<context>
    <name>AboutDialog</name>
    <message>
        <source>Velkarn er gratis. Du kan gjerne kopiere spillet og gi det til andre.</source>
        <translation>Velkarn er gratis. Du kan gjerne kopiere spillet og gi det til andre.</translation>
    </message>
    <message>
        <source>Om %1</source>
        <translation>Om %1</translation>
    </message>
    <message>
        <source>Versjon : %1.%2.%3</source>
        <translation>Versjon : %1.%2.%3</translation>
    </message>
    <message>
        <source>Telefon : %1</source>
        <translation>Telefon : %1</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;Ok</translation>
    </message>
    <message>
        <source>&amp;Systeminfo...</source>
        <translation>&amp;Systeminfo...</translation>
    </message>
    <message>
        <source>System Information Is Unavailable At This Time</source>
        <translation>System Information Is Unavailable At This Time</translation>
    </message>
</context>
<context>
    <name>Commands</name>
    <message>
        <source>&amp;Nytt spill</source>
        <translation>&amp;Nytt spill</translation>
    </message>
    <message>
        <source>Hvor er &amp;jeg?</source>
        <translation>Hvor er &amp;jeg?</translation>
    </message>
    <message>
        <source>&amp;Avslutt</source>
        <translation>&amp;Avslutt</translation>
    </message>
    <message>
        <source>&amp;Høyere</source>
        <translation>&amp;Høyere</translation>
    </message>
    <message>
        <source>&amp;Lavere</source>
        <translation>&amp;Lavere</translation>
    </message>
    <message>
        <source>Lyd i &amp;begge ører</source>
        <translation>Lyd i &amp;begge ører</translation>
    </message>
    <message>
        <source>&amp;Hvordan brukes spillet</source>
        <translation>&amp;Hvordan brukes spillet</translation>
    </message>
    <message>
        <source>Hør &amp;lydene</source>
        <translation>Hør &amp;lydene</translation>
    </message>
    <message>
        <source>&amp;Send E-post</source>
        <translation>&amp;Send E-post</translation>
    </message>
    <message>
        <source>&amp;Om %1</source>
        <translation>&amp;Om %1</translation>
    </message>
    <message>
        <source>&amp;Spill</source>
        <translation>&amp;Spill</translation>
    </message>
    <message>
        <source>&amp;Lyd</source>
        <translation>&amp;Lyd</translation>
    </message>
    <message>
        <source>&amp;Hjelp</source>
        <translation>&amp;Hjelp</translation>
    </message>
    <message>
        <source>&amp;Innspilling...</source>
        <translation>&amp;Innspilling...</translation>
    </message>
</context>
<context>
    <name>FeedbackMail</name>
    <message>
        <source>%1 versjon %2.%3</source>
        <translation>%1 versjon %2.%3</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Velg antall rom:</source>
        <translation>Velg antall rom:</translation>
    </message>
    <message>
        <source>Velg antall rom</source>
        <translation>Velg antall rom</translation>
    </message>
    <message>
        <source>Dør %1</source>
        <translation>Dør %1</translation>
    </message>
    <message>
        <source>&amp;Skjermleser</source>
        <translation>&amp;Skjermleser</translation>
    </message>
    <message>
        <source>&amp;Automatisk</source>
        <translation>&amp;Automatisk</translation>
    </message>
    <message>
        <source>&amp;På</source>
        <translation>&amp;På</translation>
    </message>
    <message>
        <source>A&amp;v</source>
        <translation>A&amp;v</translation>
    </message>
</context>
<context>
    <name>RecordingDialog</name>
    <message>
        <source>Innspilling</source>
        <translation>Innspilling</translation>
    </message>
    <message>
        <source>&amp;Setninger:</source>
        <translation>&amp;Setninger:</translation>
    </message>
    <message>
        <source>Setninger</source>
        <translation>Setninger</translation>
    </message>
    <message>
        <source>Spill &amp;inn</source>
        <translation>Spill &amp;inn</translation>
    </message>
    <message>
        <source>Spill inn</source>
        <translation>Spill inn</translation>
    </message>
    <message>
        <source>S&amp;topp</source>
        <translation>S&amp;topp</translation>
    </message>
    <message>
        <source>Stopp</source>
        <translation>Stopp</translation>
    </message>
    <message>
        <source>&amp;Lytt</source>
        <translation>&amp;Lytt</translation>
    </message>
    <message>
        <source>Lytt</source>
        <translation>Lytt</translation>
    </message>
    <message>
        <source>&amp;Behold</source>
        <translation>&amp;Behold</translation>
    </message>
    <message>
        <source>Behold</source>
        <translation>Behold</translation>
    </message>
    <message>
        <source>&amp;Gjenopprett innebygd stemme</source>
        <translation>&amp;Gjenopprett innebygd stemme</translation>
    </message>
    <message>
        <source>Gjenopprett innebygd stemme</source>
        <translation>Gjenopprett innebygd stemme</translation>
    </message>
    <message>
        <source>&amp;Eksporter...</source>
        <translation>&amp;Eksporter...</translation>
    </message>
    <message>
        <source>Eksporter innspillingene til en mappe</source>
        <translation>Eksporter innspillingene til en mappe</translation>
    </message>
    <message>
        <source>I&amp;mporter...</source>
        <translation>I&amp;mporter...</translation>
    </message>
    <message>
        <source>Importer innspillinger fra en mappe</source>
        <translation>Importer innspillinger fra en mappe</translation>
    </message>
    <message>
        <source>Lu&amp;kk</source>
        <translation>Lu&amp;kk</translation>
    </message>
    <message>
        <source>Lukk</source>
        <translation>Lukk</translation>
    </message>
    <message>
        <source>Lydnivå</source>
        <translation>Lydnivå</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Velg mappen innspillingene skal kopieres til</source>
        <translation>Velg mappen innspillingene skal kopieres til</translation>
    </message>
    <message>
        <source>Velg mappen med innspillingene</source>
        <translation>Velg mappen med innspillingene</translation>
    </message>
    <message>
        <source>Spiller inn. Snakk nå, og trykk Stopp når du er ferdig.</source>
        <translation>Spiller inn. Snakk nå, og trykk Stopp når du er ferdig.</translation>
    </message>
    <message>
        <source>Lytt til innspillingen, og behold den eller spill inn på nytt.</source>
        <translation>Lytt til innspillingen, og behold den eller spill inn på nytt.</translation>
    </message>
    <message>
        <source> (egen innspilling)</source>
        <translation> (egen innspilling)</translation>
    </message>
    <message>
        <source> (innebygd stemme)</source>
        <translation> (innebygd stemme)</translation>
    </message>
    <message>
        <source>Hei, og velkommen til Velkarn!</source>
        <translation>Hei, og velkommen til Velkarn!</translation>
    </message>
    <message>
        <source>Velg antall rom med piltastene, og trykk Enter.</source>
        <translation>Velg antall rom med piltastene, og trykk Enter.</translation>
    </message>
    <message>
        <source>Velg dør en, to eller tre.</source>
        <translation>Velg dør en, to eller tre.</translation>
    </message>
    <message>
        <source>Du er i rom</source>
        <translation>Du er i rom</translation>
    </message>
    <message>
        <source>av</source>
        <translation>av</translation>
    </message>
    <message>
        <source>Slik spiller du Velkarn. Hvert rom har tre dører. Dør en er til venstre, dør to er i midten, og dør tre er til høyre. Bare én av dem går opp. Trykk en, to eller tre for å velge en dør. Velger du feil dør, må du begynne på nytt i det første rommet, men de riktige dørene er de samme, så prøv å huske dem. Først velger du hvor mange rom du vil gå gjennom: trykk Tab for å komme til listen, bla med piltastene, og trykk Enter. F2 starter et nytt spill. F3 forteller hvilket rom du er i. F1 spiller denne hjelpen, og F4 spiller alle lydene i spillet. Pluss gjør lyden høyere, og minus gjør den lavere. Kontroll og M gir lyd i begge ører, for deg som hører best på ett øre. Escape eller Kontroll stopper lyden. Alt åpner menyene.</source>
        <translation>Slik spiller du Velkarn. Hvert rom har tre dører. Dør en er til venstre, dør to er i midten, og dør tre er til høyre. Bare én av dem går opp. Trykk en, to eller tre for å velge en dør. Velger du feil dør, må du begynne på nytt i det første rommet, men de riktige dørene er de samme, så prøv å huske dem. Først velger du hvor mange rom du vil gå gjennom: trykk Tab for å komme til listen, bla med piltastene, og trykk Enter. F2 starter et nytt spill. F3 forteller hvilket rom du er i. F1 spiller denne hjelpen, og F4 spiller alle lydene i spillet. Pluss gjør lyden høyere, og minus gjør den lavere. Kontroll og M gir lyd i begge ører, for deg som hører best på ett øre. Escape eller Kontroll stopper lyden. Alt åpner menyene.</translation>
    </message>
    <message>
        <source>en</source>
        <translation>en</translation>
    </message>
    <message>
        <source>to</source>
        <translation>to</translation>
    </message>
    <message>
        <source>tre</source>
        <translation>tre</translation>
    </message>
    <message>
        <source>fire</source>
        <translation>fire</translation>
    </message>
    <message>
        <source>fem</source>
        <translation>fem</translation>
    </message>
    <message>
        <source>seks</source>
        <translation>seks</translation>
    </message>
    <message>
        <source>sju</source>
        <translation>sju</translation>
    </message>
    <message>
        <source>åtte</source>
        <translation>åtte</translation>
    </message>
    <message>
        <source>ni</source>
        <translation>ni</translation>
    </message>
    <message>
        <source>ti</source>
        <translation>ti</translation>
    </message>
    <message>
        <source>elleve</source>
        <translation>elleve</translation>
    </message>
    <message>
        <source>tolv</source>
        <translation>tolv</translation>
    </message>
    <message>
        <source>tretten</source>
        <translation>tretten</translation>
    </message>
    <message>
        <source>fjorten</source>
        <translation>fjorten</translation>
    </message>
    <message>
        <source>femten</source>
        <translation>femten</translation>
    </message>
    <message>
        <source>seksten</source>
        <translation>seksten</translation>
    </message>
    <message>
        <source>sytten</source>
        <translation>sytten</translation>
    </message>
    <message>
        <source>atten</source>
        <translation>atten</translation>
    </message>
    <message>
        <source>nitten</source>
        <translation>nitten</translation>
    </message>
    <message>
        <source>tjue</source>
        <translation>tjue</translation>
    </message>
</context>
<context>
    <name>RecordingSession</name>
    <message>
        <source>Mikrofonen forsvant under innspillingen. Ingen innspilling er endret.</source>
        <translation>Mikrofonen forsvant under innspillingen. Ingen innspilling er endret.</translation>
    </message>
    <message>
        <source>Fant ingen mikrofon, så ingenting kan spilles inn. Koble til en mikrofon og prøv igjen. (%1)</source>
        <translation>Fant ingen mikrofon, så ingenting kan spilles inn. Koble til en mikrofon og prøv igjen. (%1)</translation>
    </message>
    <message>
        <source>Det ble ikke hørt noen stemme i innspillingen. Ingen innspilling er endret; snakk nærmere mikrofonen og prøv igjen.</source>
        <translation>Det ble ikke hørt noen stemme i innspillingen. Ingen innspilling er endret; snakk nærmere mikrofonen og prøv igjen.</translation>
    </message>
    <message>
        <source>Innspillingen er lagret. Spillet bruker den nå.</source>
        <translation>Innspillingen er lagret. Spillet bruker den nå.</translation>
    </message>
    <message>
        <source>Kunne ikke slette %1.</source>
        <translation>Kunne ikke slette %1.</translation>
    </message>
    <message>
        <source>Den innebygde stemmen er tilbake.</source>
        <translation>Den innebygde stemmen er tilbake.</translation>
    </message>
    <message>
        <source>Innspillingene er kopiert til %1.</source>
        <translation>Innspillingene er kopiert til %1.</translation>
    </message>
    <message>
        <source>Innspillingene er hentet inn.</source>
        <translation>Innspillingene er hentet inn.</translation>
    </message>
    <message>
        <source>Disse filene ble ikke hentet inn, fordi de ikke er lydfiler Velkarn kan spille, eller ikke heter som en av setningene: %1</source>
        <translation>Disse filene ble ikke hentet inn, fordi de ikke er lydfiler Velkarn kan spille, eller ikke heter som en av setningene: %1</translation>
    </message>
</context>
<context>
    <name>RecordingStore</name>
    <message>
        <source>Kunne ikke lagre innspillingen i %1.</source>
        <translation>Kunne ikke lagre innspillingen i %1.</translation>
    </message>
    <message>
        <source>Kunne ikke skrive %1 i mappen %2.</source>
        <translation>Kunne ikke skrive %1 i mappen %2.</translation>
    </message>
    <message>
        <source>Det finnes ingen egne innspillinger å eksportere.</source>
        <translation>Det finnes ingen egne innspillinger å eksportere.</translation>
    </message>
</context>
<context>
    <name>SoundPlayer</name>
    <message>
        <source>Kan ikke åpne lydfilen: %1</source>
        <translation>Kan ikke åpne lydfilen: %1</translation>
    </message>
    <message>
        <source>Lydenheten forsvant. Velkarn går videre uten lyd.</source>
        <translation>Lydenheten forsvant. Velkarn går videre uten lyd.</translation>
    </message>
    <message>
        <source>Din egen innspilling %1 kan ikke spilles. Velkarn bruker den innebygde stemmen.</source>
        <translation>Din egen innspilling %1 kan ikke spilles. Velkarn bruker den innebygde stemmen.</translation>
    </message>
</context>
<context>
    <name>Translations</name>
    <message>
        <source>Norsk</source>
        <comment>the name of this language, in itself</comment>
        <translation>Norsk</translation>
    </message>
</context>
<context>
    <name>Velkarn</name>
    <message>
        <source>Velkarn kan ikke språket «%1». Det kan: %2.</source>
        <translation>Velkarn kan ikke språket «%1». Det kan: %2.</translation>
    </message>
    <message>
        <source>Fant ingen lydenhet. Velkarn går videre uten lyd.</source>
        <translation>Fant ingen lydenhet. Velkarn går videre uten lyd.</translation>
    </message>
    <message>
        <source>Fant ingen lyder i mappen %1. Velkarn går videre uten lyd.</source>
        <translation>Fant ingen lyder i mappen %1. Velkarn går videre uten lyd.</translation>
    </message>
    <message>
        <source>Velkarn kjenner ikke skjermleservalget «%1». Det kan være: auto, on, off.</source>
        <translation>Velkarn kjenner ikke skjermleservalget «%1». Det kan være: auto, on, off.</translation>
    </message>
</context>
</TS>
