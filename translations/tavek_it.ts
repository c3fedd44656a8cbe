<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it">
<context>
    <name>AboutWindow</name>
    <message>
        <source>About Tavek...</source>
        <translation>Informazioni su Tavek...</translation>
    </message>
    <message>
        <source>Tavek emblem</source>
        <translation>Emblema di Tavek</translation>
    </message>
    <message>
        <source>Application :</source>
        <translation>Programma :</translation>
    </message>
    <message>
        <source>Version :</source>
        <translation>Versione :</translation>
    </message>
    <message>
        <source>Description :</source>
        <translation>Descrizione :</translation>
    </message>
    <message>
        <source>Software :</source>
        <translation>Software :</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Esci</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Esci</translation>
    </message>
</context>
<context>
    <name>Backups</name>
    <message>
        <source>The folder %1 cannot be made.</source>
        <translation>Non è possibile creare la cartella %1.</translation>
    </message>
</context>
<context>
    <name>ConfigFile</name>
    <message>
        <source> or </source>
        <translation> o </translation>
    </message>
    <message>
        <source>, </source>
        <translation>, </translation>
    </message>
    <message>
        <source>a list</source>
        <translation>un elenco</translation>
    </message>
    <message>
        <source>an object</source>
        <translation>un oggetto</translation>
    </message>
    <message>
        <source>line %1, column %2</source>
        <translation>riga %1, colonna %2</translation>
    </message>
    <message>
        <source>missing; it must be </source>
        <translation>manca; deve essere </translation>
    </message>
    <message>
        <source>must be </source>
        <translation>deve essere </translation>
    </message>
    <message>
        <source>, not </source>
        <translation>, non </translation>
    </message>
    <message>
        <source>a whole number from 1 up, such as %1</source>
        <translation>un numero intero da 1 in su, per esempio %1</translation>
    </message>
    <message>
        <source>this file was written by a newer Tavek (version %1); this Tavek reads version %2</source>
        <translation>questo file è stato scritto da un Tavek più recente (versione %1); questo Tavek legge la versione %2</translation>
    </message>
    <message>
        <source>the list of the three alarm inputs</source>
        <translation>l&apos;elenco dei tre ingressi di allarme</translation>
    </message>
    <message>
        <source>an object that describes one input</source>
        <translation>un oggetto che descrive un ingresso</translation>
    </message>
    <message>
        <source>1, 2 or 3</source>
        <translation>1, 2 o 3</translation>
    </message>
    <message>
        <source> (input %1)</source>
        <translation> (ingresso %1)</translation>
    </message>
    <message>
        <source>input %1 is listed twice</source>
        <translation>l&apos;ingresso %1 compare due volte</translation>
    </message>
    <message>
        <source>input %1 is missing</source>
        <translation>manca l&apos;ingresso %1</translation>
    </message>
    <message>
        <source>0 (no delay), 100, 200, ... or 1000</source>
        <translation>0 (nessun ritardo), 100, 200, ... o 1000</translation>
    </message>
    <message>
        <source>a text in quotes, or null for no message</source>
        <translation>un testo tra virgolette, o null per nessun messaggio</translation>
    </message>
    <message>
        <source>is %1 characters long; a message holds at most %2</source>
        <translation>è lungo %1 caratteri; un messaggio ne contiene al massimo %2</translation>
    </message>
    <message>
        <source>holds a control character (code %1) at character %2; it would break the modem&apos;s command line</source>
        <translation>contiene un carattere di controllo (codice %1) al carattere %2; interromperebbe la riga di comando del modem</translation>
    </message>
    <message>
        <source>character %1 (%2) cannot be sent to the modem</source>
        <translation>il carattere %1 (%2) non può essere inviato al modem</translation>
    </message>
    <message>
        <source>the list of numbers, [] when every position is free</source>
        <translation>l&apos;elenco dei numeri, [] se tutte le posizioni sono libere</translation>
    </message>
    <message>
        <source>an object with a position and a number</source>
        <translation>un oggetto con una posizione e un numero</translation>
    </message>
    <message>
        <source>a whole number from 1 to %1</source>
        <translation>un numero intero da 1 a %1</translation>
    </message>
    <message>
        <source> (position %1)</source>
        <translation> (posizione %1)</translation>
    </message>
    <message>
        <source>position %1 is listed twice</source>
        <translation>la posizione %1 compare due volte</translation>
    </message>
    <message>
        <source>a number in quotes, such as &quot;+393351234567&quot;</source>
        <translation>un numero tra virgolette, per esempio &quot;+393351234567&quot;</translation>
    </message>
    <message>
        <source>is empty; leave the position out of the list to keep it free</source>
        <translation>è vuoto; per lasciare libera la posizione, toglierla dall&apos;elenco</translation>
    </message>
    <message>
        <source>: not valid JSON (%1)</source>
        <translation>: non è JSON valido (%1)</translation>
    </message>
    <message>
        <source>the file: must be one JSON object, {...}, not a list</source>
        <translation>il file: deve essere un solo oggetto JSON, {...}, non un elenco</translation>
    </message>
    <message>
        <source>%1: given twice in the same object (again at %2); keep one of them</source>
        <translation>%1: indicato due volte nello stesso oggetto (di nuovo a %2); tenerne uno solo</translation>
    </message>
    <message>
        <source>This is not a usable Tavek configuration file:</source>
        <translation>Questo non è un file di configurazione di Tavek utilizzabile:</translation>
    </message>
    <message>
        <source>This is not a usable Tavek configuration file (%1 problems):</source>
        <translation>Questo non è un file di configurazione di Tavek utilizzabile (%1 problemi):</translation>
    </message>
    <message>
        <source>The configuration was not saved: its file would not open again.</source>
        <translation>La configurazione non è stata salvata: il suo file non si potrebbe riaprire.</translation>
    </message>
    <message>
        <source>Could not save %1: %2.</source>
        <translation>Impossibile salvare %1: %2.</translation>
    </message>
    <message>
        <source>%1: cannot be read (%2)</source>
        <translation>%1: impossibile leggere (%2)</translation>
    </message>
    <message>
        <source>: over 1 MB, far more than a configuration file holds</source>
        <translation>: oltre 1 MB, molto più di quanto contenga un file di configurazione</translation>
    </message>
</context>
<context>
    <name>ConfigurationCheck</name>
    <message>
        <source>%1: %2 characters long; a message holds at most %3</source>
        <translation>%1: lungo %2 caratteri; un messaggio ne contiene al massimo %3</translation>
    </message>
    <message>
        <source>%1: holds a control character (code %2) at character %3</source>
        <translation>%1: contiene un carattere di controllo (codice %2) al carattere %3</translation>
    </message>
    <message>
        <source>%1: character %2 (&quot;%3&quot;) cannot be sent to the modem</source>
        <translation>%1: il carattere %2 (&quot;%3&quot;) non può essere inviato al modem</translation>
    </message>
    <message>
        <source>Position %1: &quot;%2&quot; %3</source>
        <translation>Posizione %1: &quot;%2&quot; %3</translation>
    </message>
    <message>
        <source>Input %1, Single message</source>
        <translation>Ingresso %1, messaggio singolo</translation>
    </message>
    <message>
        <source>Input %1, Double message</source>
        <translation>Ingresso %1, messaggio doppio</translation>
    </message>
    <message>
        <source>The phone numbers were not sent. Complete or empty these positions first:</source>
        <translation>I numeri di telefono non sono stati inviati. Prima completare o svuotare queste posizioni:</translation>
    </message>
</context>
<context>
    <name>Dialogs</name>
    <message>
        <source>Modem error</source>
        <translation>Errore del modem</translation>
    </message>
    <message>
        <source>Setting Reset</source>
        <translation>Ripristino impostazioni</translation>
    </message>
</context>
<context>
    <name>FileDialogs</name>
    <message>
        <source>Tavek configuration (*.tavek);;All files (*)</source>
        <translation>Configurazione Tavek (*.tavek);;Tutti i file (*)</translation>
    </message>
    <message>
        <source>Open configuration</source>
        <translation>Apri configurazione</translation>
    </message>
    <message>
        <source>Save configuration</source>
        <translation>Salva configurazione</translation>
    </message>
    <message>
        <source>Configuration file</source>
        <translation>File di configurazione</translation>
    </message>
</context>
<context>
    <name>InputOperations</name>
    <message>
        <source>Modem Connected, sending...</source>
        <translation>Modem connesso, invio in corso...</translation>
    </message>
    <message>
        <source>Modem Connected, sending Input %1</source>
        <translation>Modem connesso, invio ingresso %1</translation>
    </message>
    <message>
        <source>Modem Connected, sending Message %1</source>
        <translation>Modem connesso, invio messaggio %1</translation>
    </message>
</context>
<context>
    <name>InputPanel</name>
    <message>
        <source>No delay</source>
        <translation>Nessuno</translation>
    </message>
    <message>
        <source> Input %1 </source>
        <translation> Ingresso %1 </translation>
    </message>
    <message>
        <source> Status </source>
        <translation> Stato </translation>
    </message>
    <message>
        <source>Active</source>
        <translation>Attivo</translation>
    </message>
    <message>
        <source>Disactive</source>
        <translation>Disattivo</translation>
    </message>
    <message>
        <source> Port </source>
        <translation> Contatto </translation>
    </message>
    <message>
        <source>N. Open</source>
        <translation>N. Aperto</translation>
    </message>
    <message>
        <source>N. Closed</source>
        <translation>N. Chiuso</translation>
    </message>
    <message>
        <source> Bit </source>
        <translation> Bit </translation>
    </message>
    <message>
        <source>Single (recomended)</source>
        <translation>Singolo (consigliato)</translation>
    </message>
    <message>
        <source>Double</source>
        <translation>Doppio</translation>
    </message>
    <message>
        <source>msec: </source>
        <translation>msec: </translation>
    </message>
    <message>
        <source>Input %1 delay</source>
        <translation>Ritardo ingresso %1</translation>
    </message>
    <message>
        <source>Message Single:</source>
        <translation>Messaggio singolo:</translation>
    </message>
    <message>
        <source>Single</source>
        <translation>Singolo</translation>
    </message>
    <message>
        <source>Message Double:</source>
        <translation>Messaggio doppio:</translation>
    </message>
    <message>
        <source>Input %1 %2</source>
        <translation>Ingresso %1 %2</translation>
    </message>
    <message>
        <source>Input %1 %2 message</source>
        <translation>Ingresso %1 messaggio %2</translation>
    </message>
</context>
<context>
    <name>MainToolbar</name>
    <message>
        <source>Connection</source>
        <translation>Connessione</translation>
    </message>
    <message>
        <source>Serial port</source>
        <translation>Porta seriale</translation>
    </message>
    <message>
        <source>Open configuration…</source>
        <translation>Apri configurazione…</translation>
    </message>
    <message>
        <source>Save configuration…</source>
        <translation>Salva configurazione…</translation>
    </message>
    <message>
        <source>Modem traffic</source>
        <translation>Traffico del modem</translation>
    </message>
    <message>
        <source>Serial ports</source>
        <translation>Porte seriali</translation>
    </message>
    <message>
        <source>About Tavek</source>
        <translation>Informazioni su Tavek</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>%1 was not opened.

%2</source>
        <translation>%1 non è stato aperto.

%2</translation>
    </message>
    <message>
        <source>The configuration was not saved. Change these first:</source>
        <translation>La configurazione non è stata salvata. Prima correggere questi punti:</translation>
    </message>
    <message>
        <source> Modem Settings </source>
        <translation> Impostazioni modem </translation>
    </message>
    <message>
        <source>Send Input configuration to modem</source>
        <translation>Invia al modem la configurazione degli ingressi</translation>
    </message>
    <message>
        <source> Phone Numbers </source>
        <translation> Rubrica </translation>
    </message>
    <message>
        <source>Phone Numbers</source>
        <translation>Rubrica</translation>
    </message>
    <message>
        <source>The number must be inserted without &quot;00&quot; in the prefix but with &quot;+&quot; and with no spaces.</source>
        <translation>Inserire il numero senza &quot;00&quot; nel prefisso, ma con &quot;+&quot; e senza spazi.</translation>
    </message>
    <message>
        <source>Ex: +393351234567</source>
        <translation>Es.: +393351234567</translation>
    </message>
    <message>
        <source>Send phone numbers to modem</source>
        <translation>Invia al modem i numeri di telefono</translation>
    </message>
    <message>
        <source>Set</source>
        <translation>Imposta</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Esci</translation>
    </message>
    <message>
        <source>Modem Disconnected</source>
        <translation>Modem disconnesso</translation>
    </message>
    <message>
        <source>Pos.</source>
        <translation>Pos.</translation>
    </message>
    <message>
        <source>Phone Number</source>
        <translation>Numero di telefono</translation>
    </message>
    <message>
        <source>Incomplete read</source>
        <translation>Lettura incompleta</translation>
    </message>
    <message>
        <source>No backup</source>
        <translation>Nessuna copia di sicurezza</translation>
    </message>
    <message>
        <source>Double message</source>
        <translation>Messaggio doppio</translation>
    </message>
    <message>
        <source>Unsent changes</source>
        <translation>Modifiche non inviate</translation>
    </message>
</context>
<context>
    <name>MessageTextBox</name>
    <message>
        <source>Type here your message</source>
        <translation>Scrivere qui il messaggio</translation>
    </message>
    <message>
        <source>A line break or another control character would end the modem&apos;s command line, so the text was not taken.</source>
        <translation>Un a capo o un altro carattere di controllo chiuderebbe la riga di comando del modem, quindi il testo non è stato accettato.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be sent to the modem, so the text was not taken: a message holds only letters, digits and signs of Latin-1 (such as é, ß, °).</source>
        <translation>&quot;%1&quot; non può essere inviato al modem, quindi il testo non è stato accettato: un messaggio contiene solo lettere, cifre e segni di Latin-1 (come é, ß, °).</translation>
    </message>
</context>
<context>
    <name>ModemCommands</name>
    <message>
        <source>Reset Modem</source>
        <translation>Ripristina modem</translation>
    </message>
    <message>
        <source>ATTENTION:</source>
        <translation>ATTENZIONE:</translation>
    </message>
    <message>
        <source>This action will reset all communication setting!</source>
        <translation>Questa operazione ripristina tutte le impostazioni di comunicazione!</translation>
    </message>
    <message>
        <source>Do you want to continue?</source>
        <translation>Continuare?</translation>
    </message>
    <message>
        <source>The factory communication settings are restored.</source>
        <translation>Le impostazioni di comunicazione di fabbrica sono state ripristinate.</translation>
    </message>
    <message>
        <source>Set default settings</source>
        <translation>Imposta valori predefiniti</translation>
    </message>
    <message>
        <source>This action will delete all data!</source>
        <translation>Questa operazione cancella tutti i dati!</translation>
    </message>
    <message>
        <source>The phone book is empty; the default inputs and messages are set.</source>
        <translation>La rubrica è vuota; sono impostati gli ingressi e i messaggi predefiniti.</translation>
    </message>
    <message>
        <source>Set reley on</source>
        <translation>Attiva relè</translation>
    </message>
    <message>
        <source>Relay on.</source>
        <translation>Relè attivato.</translation>
    </message>
    <message>
        <source>Set reley off</source>
        <translation>Disattiva relè</translation>
    </message>
    <message>
        <source>Relay off.</source>
        <translation>Relè disattivato.</translation>
    </message>
</context>
<context>
    <name>ModemConnection</name>
    <message>
        <source>No modem is connected</source>
        <translation>Nessun modem connesso</translation>
    </message>
</context>
<context>
    <name>ModemLink</name>
    <message>
        <source>Modem Disconnected</source>
        <translation>Modem disconnesso</translation>
    </message>
    <message>
        <source>Modem Connecting...</source>
        <translation>Connessione al modem...</translation>
    </message>
    <message>
        <source>No serial port is Com %1</source>
        <translation>Nessuna porta seriale è Com %1</translation>
    </message>
    <message>
        <source>Modem Connected</source>
        <translation>Modem connesso</translation>
    </message>
    <message>
        <source>Modem Connected, sending relay string...</source>
        <translation>Modem connesso, invio comando relè...</translation>
    </message>
    <message>
        <source>Modem Connected, sending relay string</source>
        <translation>Modem connesso, invio comando relè</translation>
    </message>
    <message>
        <source>Modem Connected, sending default string...</source>
        <translation>Modem connesso, invio impostazioni di fabbrica...</translation>
    </message>
    <message>
        <source>Modem Connected, sending default string no. %1</source>
        <translation>Modem connesso, invio impostazione di fabbrica n. %1</translation>
    </message>
    <message>
        <source>The modem did not confirm factory-default command %1.</source>
        <translation>Il modem non ha confermato il comando di fabbrica %1.</translation>
    </message>
    <message>
        <source>The modem did not confirm factory-default commands %1.</source>
        <translation>Il modem non ha confermato i comandi di fabbrica %1.</translation>
    </message>
    <message>
        <source>The modem did not confirm the relay command %1.</source>
        <translation>Il modem non ha confermato il comando relè %1.</translation>
    </message>
</context>
<context>
    <name>ModemSession</name>
    <message>
        <source>The window holds changes that were not sent to the modem. Discard them?</source>
        <translation>La finestra contiene modifiche non inviate al modem. Scartarle?</translation>
    </message>
    <message>
        <source>No configuration was read whole from the modem.</source>
        <translation>Nessuna configurazione è stata letta per intero dal modem.</translation>
    </message>
    <message>
        <source>No backup of the modem&apos;s configuration was kept: %1 Sending now overwrites what the modem holds, and nothing here can put it back. Send anyway?</source>
        <translation>Non è stata conservata alcuna copia di sicurezza della configurazione del modem: %1 Inviando ora si sovrascrive il contenuto del modem, e da qui non sarà possibile ripristinarlo. Inviare comunque?</translation>
    </message>
    <message>
        <source>Modem Connected, verifying...</source>
        <translation>Modem connesso, verifica in corso...</translation>
    </message>
    <message>
        <source>Modem Connected</source>
        <translation>Modem connesso</translation>
    </message>
    <message>
        <source>Input %1: the Double message is not sent, because the Single message is empty.</source>
        <translation>Ingresso %1: il messaggio doppio non viene inviato, perché il messaggio singolo è vuoto.</translation>
    </message>
    <message>
        <source>Send anyway?</source>
        <translation>Inviare comunque?</translation>
    </message>
    <message>
        <source>The modem&apos;s configuration was not read completely. What it holds now is replaced, and no backup of it was kept. Go on anyway?</source>
        <translation>La configurazione del modem non è stata letta per intero. Il suo contenuto attuale verrà sostituito, e non ne è stata conservata alcuna copia di sicurezza. Procedere comunque?</translation>
    </message>
</context>
<context>
    <name>OperationRunner</name>
    <message>
        <source>Modem Connected</source>
        <translation>Modem connesso</translation>
    </message>
    <message>
        <source>...OK</source>
        <translation>...OK</translation>
    </message>
    <message>
        <source>...Failed!</source>
        <translation>...non riuscito!</translation>
    </message>
    <message>
        <source>, </source>
        <translation>, </translation>
    </message>
    <message>
        <source> and </source>
        <translation> e </translation>
    </message>
</context>
<context>
    <name>OperationTexts</name>
    <message>
        <source>The modem did not confirm phone-book position %1.</source>
        <translation>Il modem non ha confermato la posizione %1 della rubrica.</translation>
    </message>
    <message>
        <source>The modem did not confirm phone-book positions %1.</source>
        <translation>Il modem non ha confermato le posizioni %1 della rubrica.</translation>
    </message>
    <message>
        <source>the settings</source>
        <translation>le impostazioni</translation>
    </message>
    <message>
        <source>the Single message</source>
        <translation>il messaggio singolo</translation>
    </message>
    <message>
        <source>the Double message</source>
        <translation>il messaggio doppio</translation>
    </message>
    <message>
        <source>%1 of input %2</source>
        <translation>%1 dell&apos;ingresso %2</translation>
    </message>
    <message>
        <source>The modem did not confirm %1.</source>
        <translation>Il modem non ha confermato %1.</translation>
    </message>
    <message>
        <source>The input configuration and the phone book could not be read completely from the modem. The inputs and rows not read keep what they showed.</source>
        <translation>Non è stato possibile leggere per intero dal modem la configurazione degli ingressi e la rubrica. Gli ingressi e le righe non letti mantengono quanto mostravano.</translation>
    </message>
    <message>
        <source>The input configuration could not be read completely from the modem. The inputs not read keep what they showed.</source>
        <translation>Non è stato possibile leggere per intero dal modem la configurazione degli ingressi. Gli ingressi non letti mantengono quanto mostravano.</translation>
    </message>
    <message>
        <source>The phone book could not be read completely from the modem. The rows not read keep what they showed.</source>
        <translation>Non è stato possibile leggere per intero la rubrica dal modem. Le righe non lette mantengono quanto mostravano.</translation>
    </message>
    <message>
        <source>The input configuration was not read completely from the modem. Sending now replaces the modem&apos;s input configuration with the panels as shown. Send anyway?</source>
        <translation>La configurazione degli ingressi non è stata letta per intero dal modem. Inviando ora, la configurazione degli ingressi del modem viene sostituita con quella mostrata nei riquadri. Inviare comunque?</translation>
    </message>
    <message>
        <source>The phone book was not read completely from the modem. Sending now replaces the modem&apos;s phone book with the grid as shown. Send anyway?</source>
        <translation>La rubrica non è stata letta per intero dal modem. Inviando ora, la rubrica del modem viene sostituita con la tabella mostrata. Inviare comunque?</translation>
    </message>
</context>
<context>
    <name>PhoneBookOperations</name>
    <message>
        <source>Modem Connected, sending Phone Number pos. %1</source>
        <translation>Modem connesso, invio numero pos. %1</translation>
    </message>
    <message>
        <source>Modem Connected, deleting Phone Number pos. %1...OK</source>
        <translation>Modem connesso, cancellazione numero pos. %1...OK</translation>
    </message>
</context>
<context>
    <name>PhoneGrid</name>
    <message>
        <source>A phone number holds at most %1 characters.</source>
        <translation>Un numero di telefono contiene al massimo %1 caratteri.</translation>
    </message>
    <message>
        <source>A &quot;+&quot; goes only at the start of a phone number.</source>
        <translation>Il &quot;+&quot; va solo all&apos;inizio del numero di telefono.</translation>
    </message>
</context>
<context>
    <name>PhoneNumberRule</name>
    <message>
        <source>holds something other than digits and one leading &quot;+&quot;</source>
        <translation>contiene altro oltre alle cifre e a un &quot;+&quot; iniziale</translation>
    </message>
    <message>
        <source>is a &quot;+&quot; without digits</source>
        <translation>è un &quot;+&quot; senza cifre</translation>
    </message>
    <message>
        <source>is %1 characters long; a number holds at most %2</source>
        <translation>è lungo %1 caratteri; un numero ne contiene al massimo %2</translation>
    </message>
</context>
<context>
    <name>PortAssignment</name>
    <message>
        <source> Nothing was changed.</source>
        <translation> Non è stato modificato nulla.</translation>
    </message>
    <message>
        <source>The ports folder %1 cannot be written: %2.</source>
        <translation>Non è possibile scrivere nella cartella delle porte %1: %2.</translation>
    </message>
    <message>
        <source>Com numbers go from 1 to %1.</source>
        <translation>I numeri Com vanno da 1 a %1.</translation>
    </message>
    <message>
        <source>No port is chosen.</source>
        <translation>Nessuna porta scelta.</translation>
    </message>
    <message>
        <source>Com %1 is already taken by %2. Remove that link first, or choose another number.</source>
        <translation>Com %1 è già assegnata a %2. Rimuovere prima quel collegamento, o scegliere un altro numero.</translation>
    </message>
    <message>
        <source>Com %1 cannot be assigned: %2 is there and is not a link.</source>
        <translation>Non è possibile assegnare Com %1: %2 esiste e non è un collegamento.</translation>
    </message>
    <message>
        <source>The ports folder %1 cannot be made.</source>
        <translation>Non è possibile creare la cartella delle porte %1.</translation>
    </message>
    <message>
        <source>com%1 cannot be removed from the ports folder %2: %3.</source>
        <translation>Non è possibile rimuovere com%1 dalla cartella delle porte %2: %3.</translation>
    </message>
</context>
<context>
    <name>PortCatalog</name>
    <message>
        <source>Add yourself to the group %1 (sudo adduser $USER %1), then log out and in again.</source>
        <translation>Aggiungere il proprio utente al gruppo %1 (sudo adduser $USER %1), poi uscire dalla sessione e rientrare.</translation>
    </message>
</context>
<context>
    <name>PortErrors</name>
    <message>
        <source>To give your adapter a Com number, click &quot;Serial ports&quot; on the toolbar, choose the adapter and click &quot;Assign Com number…&quot;.</source>
        <translation>Per dare un numero Com all&apos;adattatore, fare clic su &quot;Porte seriali&quot; nella barra degli strumenti, scegliere l&apos;adattatore e fare clic su &quot;Assegna numero Com…&quot;.</translation>
    </message>
    <message>
        <source>Serial port not valid</source>
        <translation>Porta seriale non valida</translation>
    </message>
    <message>
        <source>Com %1 names no serial port: the system lists fewer ports, and no link com%1 is in the ports folder.</source>
        <translation>Com %1 non indica alcuna porta seriale: il sistema elenca meno porte, e nella cartella delle porte non c&apos;è un collegamento com%1.</translation>
    </message>
    <message>
        <source>Com %1 was looked for at %2, and no such device is there.</source>
        <translation>Com %1 è stata cercata in %2, ma quel dispositivo non c&apos;è.</translation>
    </message>
    <message>
        <source>%1 is not there any more.</source>
        <translation>%1 non c&apos;è più.</translation>
    </message>
    <message>
        <source>Modem already in use</source>
        <translation>Modem già in uso</translation>
    </message>
    <message>
        <source>the serial port</source>
        <translation>la porta seriale</translation>
    </message>
    <message>
        <source>The serial port was lost (was the adapter unplugged?)</source>
        <translation>La porta seriale è stata persa (l&apos;adattatore è stato scollegato?)</translation>
    </message>
    <message>
        <source>The serial port %1 was lost (was the adapter unplugged?)</source>
        <translation>La porta seriale %1 è stata persa (l&apos;adattatore è stato scollegato?)</translation>
    </message>
    <message>
        <source>Cannot open %1: %2</source>
        <translation>Impossibile aprire %1: %2</translation>
    </message>
    <message>
        <source>

To get access, add your user to the group that owns the port (usually dialout: sudo usermod -aG dialout $USER), then log out and in again.</source>
        <translation>

Per ottenere l&apos;accesso, aggiungere il proprio utente al gruppo proprietario della porta (di solito dialout: sudo usermod -aG dialout $USER), poi uscire dalla sessione e rientrare.</translation>
    </message>
    <message>
        <source>Com %1</source>
        <translation>Com %1</translation>
    </message>
    <message>
        <source>the port</source>
        <translation>la porta</translation>
    </message>
    <message>
        <source>Modem not connected</source>
        <translation>Modem non connesso</translation>
    </message>
    <message>
        <source>No answer to AT came from %1 (%2). Check:</source>
        <translation>Nessuna risposta ad AT da %1 (%2). Controllare:</translation>
    </message>
    <message>
        <source>- that the modem is switched on;</source>
        <translation>- che il modem sia acceso;</translation>
    </message>
    <message>
        <source>- that its cable is plugged in at both ends;</source>
        <translation>- che il cavo sia collegato a entrambe le estremità;</translation>
    </message>
    <message>
        <source>&quot;Serial ports&quot; on the toolbar shows the device behind each Com number.</source>
        <translation>&quot;Porte seriali&quot; nella barra degli strumenti mostra il dispositivo di ogni numero Com.</translation>
    </message>
    <message>
        <source>- that %1 is the modem&apos;s port: %2</source>
        <translation>- che %1 sia la porta del modem: %2</translation>
    </message>
</context>
<context>
    <name>PortSelector</name>
    <message>
        <source>Com </source>
        <translation>Com </translation>
    </message>
    <message>
        <source>No serial port is there</source>
        <translation>Nessuna porta seriale presente</translation>
    </message>
</context>
<context>
    <name>PortsDialog</name>
    <message>
        <source>No serial port was found. Check that the adapter is plugged in and its cable is sound, that its driver is loaded (lsusb lists a USB adapter; the system then makes /dev/ttyUSB0 or /dev/ttyACM0 for it), and what the system said when it was plugged in: sudo dmesg | tail.</source>
        <translation>Nessuna porta seriale trovata. Controllare che l&apos;adattatore sia collegato e il cavo integro, che il driver sia caricato (lsusb elenca un adattatore USB; il sistema crea poi /dev/ttyUSB0 o /dev/ttyACM0) e che cosa ha detto il sistema al collegamento: sudo dmesg | tail.</translation>
    </message>
    <message>
        <source>Com %1 (link)</source>
        <translation>Com %1 (collegamento)</translation>
    </message>
    <message>
        <source>Com %1 (list)</source>
        <translation>Com %1 (elenco)</translation>
    </message>
    <message>
        <source>none</source>
        <translation>nessuno</translation>
    </message>
    <message>
        <source>, </source>
        <translation>, </translation>
    </message>
    <message>
        <source>connected</source>
        <translation>connesso</translation>
    </message>
    <message>
        <source>missing</source>
        <translation>assente</translation>
    </message>
    <message>
        <source>yes</source>
        <translation>sì</translation>
    </message>
    <message>
        <source>no: not in group %1</source>
        <translation>no: utente non nel gruppo %1</translation>
    </message>
    <message>
        <source>Serial ports</source>
        <translation>Porte seriali</translation>
    </message>
    <message>
        <source>Com</source>
        <translation>Com</translation>
    </message>
    <message>
        <source>Device</source>
        <translation>Dispositivo</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Descrizione</translation>
    </message>
    <message>
        <source>Manufacturer</source>
        <translation>Produttore</translation>
    </message>
    <message>
        <source>Serial number</source>
        <translation>Numero di serie</translation>
    </message>
    <message>
        <source>USB id</source>
        <translation>ID USB</translation>
    </message>
    <message>
        <source>Stable name</source>
        <translation>Nome stabile</translation>
    </message>
    <message>
        <source>Access</source>
        <translation>Accesso</translation>
    </message>
    <message>
        <source>The name under /dev/serial/by-id that stays when the adapter is plugged in elsewhere</source>
        <translation>Il nome sotto /dev/serial/by-id, che resta uguale anche se l&apos;adattatore viene collegato altrove</translation>
    </message>
    <message>
        <source>Assign Com number…</source>
        <translation>Assegna numero Com…</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Rimuovi</translation>
    </message>
    <message>
        <source>Removes the links in the ports folder that name the port</source>
        <translation>Rimuove i collegamenti alla porta nella cartella delle porte</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Aggiorna</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Chiudi</translation>
    </message>
    <message>
        <source>Assign Com number</source>
        <translation>Assegna numero Com</translation>
    </message>
    <message>
        <source>The Com number for %1:</source>
        <translation>Il numero Com per %1:</translation>
    </message>
    <message>
        <source>Connected to %1. Com numbers can be changed once you have disconnected.</source>
        <translation>Connesso a %1. I numeri Com si possono cambiare dopo la disconnessione.</translation>
    </message>
    <message>
        <source>Choose a port and click &quot;Assign Com number…&quot; to give it a number that stays. The links are in %1.</source>
        <translation>Scegliere una porta e fare clic su &quot;Assegna numero Com…&quot; per darle un numero fisso. I collegamenti sono in %1.</translation>
    </message>
    <message>
        <source> (missing)</source>
        <translation> (assente)</translation>
    </message>
    <message>
        <source>%1 is not there: the link points at a device that is missing (unplugged, or the program that made it has ended).</source>
        <translation>%1 non c&apos;è: il collegamento punta a un dispositivo assente (scollegato, o il programma che lo aveva creato è terminato).</translation>
    </message>
</context>
<context>
    <name>Preloader</name>
    <message>
        <source>Loading ...</source>
        <translation>Caricamento ...</translation>
    </message>
    <message>
        <source>Loading...</source>
        <translation>Caricamento...</translation>
    </message>
</context>
<context>
    <name>SafeSave</name>
    <message>
        <source>The disk is full</source>
        <translation>Il disco è pieno</translation>
    </message>
    <message>
        <source>The file would be larger than this user may write</source>
        <translation>Il file sarebbe più grande di quanto questo utente possa scrivere</translation>
    </message>
    <message>
        <source>It is a folder, not a file</source>
        <translation>È una cartella, non un file</translation>
    </message>
    <message>
        <source>It is a device, not a file</source>
        <translation>È un dispositivo, non un file</translation>
    </message>
    <message>
        <source>It is a pipe (FIFO), not a file</source>
        <translation>È una pipe (FIFO), non un file</translation>
    </message>
    <message>
        <source>It is a socket, not a file</source>
        <translation>È un socket, non un file</translation>
    </message>
    <message>
        <source>It is not a file</source>
        <translation>Non è un file</translation>
    </message>
</context>
<context>
    <name>SerialPort</name>
    <message>
        <source>No device was named</source>
        <translation>Nessun dispositivo indicato</translation>
    </message>
</context>
<context>
    <name>StartOptions</name>
    <message>
        <source>
Qt&apos;s own options, such as -platform NAME and -style NAME, are accepted too.
</source>
        <translation>
Sono accettate anche le opzioni proprie di Qt, come -platform NOME e -style NOME.
</translation>
    </message>
    <message>
        <source>Configures KVZ GSM alarm modems over a serial port, in a window.
tavek-cli does the same from the command line.</source>
        <translation>Configura i modem di allarme GSM KVZ tramite una porta seriale, in una finestra.
tavek-cli fa lo stesso dalla riga di comando.</translation>
    </message>
    <message>
        <source>Shows this help.</source>
        <translation>Mostra questo aiuto.</translation>
    </message>
    <message>
        <source>Shows the version.</source>
        <translation>Mostra la versione.</translation>
    </message>
    <message>
        <source>Writes the modem traffic to &lt;file&gt; as well.</source>
        <translation>Scrive il traffico del modem anche in &lt;file&gt;.</translation>
    </message>
    <message>
        <source>Unexpected argument &apos;%1&apos;.</source>
        <translation>Argomento inatteso &apos;%1&apos;.</translation>
    </message>
</context>
<context>
    <name>StatusLine</name>
    <message>
        <source>Status</source>
        <translation>Stato</translation>
    </message>
    <message>
        <source>Date and time</source>
        <translation>Data e ora</translation>
    </message>
</context>
<context>
    <name>TavekCli</name>
    <message>
        <source>the connection check: does a modem answer?</source>
        <translation>la verifica della connessione: un modem risponde?</translation>
    </message>
    <message>
        <source>reads the inputs and the phone book into FILE (.tavek), or onto standard output</source>
        <translation>legge gli ingressi e la rubrica in FILE (.tavek), o sullo standard output</translation>
    </message>
    <message>
        <source>keeps a backup of the modem, sends FILE&apos;s inputs and all 20 phone-book positions, and reads them back to verify (-: the file from standard input)</source>
        <translation>conserva una copia di sicurezza del modem, invia gli ingressi di FILE e tutte le 20 posizioni della rubrica, e li rilegge per verificarli (-: il file dallo standard input)</translation>
    </message>
    <message>
        <source>compares the modem with FILE, writing nothing</source>
        <translation>confronta il modem con FILE, senza scrivere nulla</translation>
    </message>
    <message>
        <source>lists the serial ports with their Com numbers</source>
        <translation>elenca le porte seriali con i loro numeri Com</translation>
    </message>
    <message>
        <source>lists the automatic backups, newest first (restore one with write)</source>
        <translation>elenca le copie di sicurezza automatiche, dalla più recente (per ripristinarne una: write)</translation>
    </message>
    <message>
        <source>Configures a KVZ GSM alarm modem over a serial port, as the Tavek window does.</source>
        <translation>Configura un modem di allarme GSM KVZ tramite una porta seriale, come la finestra di Tavek.</translation>
    </message>
    <message>
        <source>Commands:</source>
        <translation>Comandi:</translation>
    </message>
    <message>
        <source>the same as relay-on and relay-off</source>
        <translation>come relay-on e relay-off</translation>
    </message>
    <message>
        <source>Exit codes:</source>
        <translation>Codici di uscita:</translation>
    </message>
    <message>
        <source>  0  everything went through and the modem confirmed every step
  1  the modem did not answer, did not confirm a step, or a read was not whole
  2  a wrong command line or a bad FILE to write (nothing was sent),
     or a FILE that could not be saved
  3  the port could not be opened, or was lost
  4  the modem, read back, holds something other than was sent
  5  what the modem held could not be kept as a backup: nothing was overwritten
For several modems (--port given again, or --all-ports), the highest of theirs.</source>
        <translation>  0  tutto è andato a buon fine e il modem ha confermato ogni passo
  1  il modem non ha risposto, non ha confermato un passo, o una lettura non era completa
  2  riga di comando errata o FILE da scrivere non valido (non è stato inviato nulla),
     oppure un FILE che non è stato possibile salvare
  3  non è stato possibile aprire la porta, o la porta è stata persa
  4  il modem, riletto, contiene altro rispetto a quanto inviato
  5  non è stato possibile conservare una copia di sicurezza del modem: nulla è stato sovrascritto
Con più modem (--port ripetuto, o --all-ports), il più alto tra i loro codici.</translation>
    </message>
    <message>
        <source>Try &apos;tavek-cli --help&apos;.</source>
        <translation>Provare &apos;tavek-cli --help&apos;.</translation>
    </message>
    <message>
        <source>No command given.</source>
        <translation>Nessun comando indicato.</translation>
    </message>
    <message>
        <source>%1 changes what the modem holds: &quot;%2&quot; Add --yes to go ahead.</source>
        <translation>%1 modifica il contenuto del modem: &quot;%2&quot; Aggiungere --yes per procedere.</translation>
    </message>
    <message>
        <source>relay takes on or off.</source>
        <translation>relay vuole on oppure off.</translation>
    </message>
    <message>
        <source>Unknown command &apos;%1&apos;.</source>
        <translation>Comando sconosciuto &apos;%1&apos;.</translation>
    </message>
    <message>
        <source>%1 needs a FILE, or - for standard input.</source>
        <translation>%1 richiede un FILE, o - per lo standard input.</translation>
    </message>
    <message>
        <source>Unexpected argument &apos;%1&apos; after %2.</source>
        <translation>Argomento inatteso &apos;%1&apos; dopo %2.</translation>
    </message>
    <message>
        <source>See Commands above.</source>
        <translation>Vedere Comandi sopra.</translation>
    </message>
    <message>
        <source>The modem&apos;s port: comN or &quot;Com N&quot; as the window numbers them (a link comN in the ports folder, else the N-th listed port), or a device such as /dev/ttyUSB0. Default: com1. Given again, the modems are worked on at once.</source>
        <translation>La porta del modem: comN o &quot;Com N&quot; come li numera la finestra (un collegamento comN nella cartella delle porte, altrimenti la N-esima porta elencata), o un dispositivo come /dev/ttyUSB0. Predefinita: com1. Se ripetuta, i modem vengono trattati insieme.</translation>
    </message>
    <message>
        <source>Every serial port where a modem answers the check.</source>
        <translation>Ogni porta seriale su cui un modem risponde alla verifica.</translation>
    </message>
    <message>
        <source>Results as JSON, one object a line (README: &quot;tavek-cli --json&quot;).</source>
        <translation>Risultati in JSON, un oggetto per riga (README: &quot;tavek-cli --json&quot;).</translation>
    </message>
    <message>
        <source>write: does not read back what was sent.</source>
        <translation>write: non rilegge quanto inviato.</translation>
    </message>
    <message>
        <source>write, clear: does not read and keep what the modem held first.</source>
        <translation>write, clear: non legge e non conserva prima il contenuto del modem.</translation>
    </message>
    <message>
        <source>Shows the progress and the traffic on the line on standard error.</source>
        <translation>Mostra l&apos;avanzamento e il traffico sulla linea sullo standard error.</translation>
    </message>
    <message>
        <source>Prints nothing but errors.</source>
        <translation>Stampa solo gli errori.</translation>
    </message>
    <message>
        <source>Answers yes to the question of a command that changes what the modem holds (factory-defaults, clear).</source>
        <translation>Risponde sì alla domanda di un comando che modifica il contenuto del modem (factory-defaults, clear).</translation>
    </message>
    <message>
        <source>Shows this help.</source>
        <translation>Mostra questo aiuto.</translation>
    </message>
    <message>
        <source>Shows the version.</source>
        <translation>Mostra la versione.</translation>
    </message>
    <message>
        <source>--port %1 names no port: give comN (1 to %2), &quot;Com N&quot; or a device path such as /dev/ttyUSB0.</source>
        <translation>--port %1 non indica alcuna porta: indicare comN (da 1 a %2), &quot;Com N&quot; o il percorso di un dispositivo come /dev/ttyUSB0.</translation>
    </message>
    <message>
        <source>--port %1 is given twice.</source>
        <translation>--port %1 è indicato due volte.</translation>
    </message>
    <message>
        <source>%1 works on one port.</source>
        <translation>%1 lavora su una sola porta.</translation>
    </message>
    <message>
        <source>--all-ports and --port do not go together.</source>
        <translation>--all-ports e --port non vanno insieme.</translation>
    </message>
    <message>
        <source>%1: cannot be read (%2)</source>
        <translation>%1: impossibile leggere (%2)</translation>
    </message>
    <message>
        <source>No backups yet in %1.</source>
        <translation>Ancora nessuna copia di sicurezza in %1.</translation>
    </message>
    <message>
        <source>standard input</source>
        <translation>standard input</translation>
    </message>
    <message>
        <source>tavek-cli: %1: nothing was sent.</source>
        <translation>tavek-cli: %1: non è stato inviato nulla.</translation>
    </message>
    <message>
        <source>tavek-cli: no modem answered on any port.</source>
        <translation>tavek-cli: nessun modem ha risposto su alcuna porta.</translation>
    </message>
    <message>
        <source>Modem error: %1</source>
        <translation>Errore del modem: %1</translation>
    </message>
    <message>
        <source>Nothing was sent.</source>
        <translation>Non è stato inviato nulla.</translation>
    </message>
    <message>
        <source>tavek-cli: the configuration could not be written onto standard output.</source>
        <translation>tavek-cli: non è stato possibile scrivere la configurazione sullo standard output.</translation>
    </message>
    <message>
        <source> (no such port)</source>
        <translation> (porta inesistente)</translation>
    </message>
    <message>
        <source>The port %1 was lost.</source>
        <translation>La porta %1 è stata persa.</translation>
    </message>
    <message>
        <source>No modem answered on %1.</source>
        <translation>Nessun modem ha risposto su %1.</translation>
    </message>
    <message>
        <source>The port %1 could not be used.</source>
        <translation>Non è stato possibile usare la porta %1.</translation>
    </message>
    <message>
        <source>What the modem holds could not be kept first: nothing was sent.</source>
        <translation>Non è stato possibile conservare prima il contenuto del modem: non è stato inviato nulla.</translation>
    </message>
    <message>
        <source>The modem on %1 did not confirm every step.</source>
        <translation>Il modem su %1 non ha confermato tutti i passi.</translation>
    </message>
    <message>
        <source>The modem on %1 holds something other than was sent.</source>
        <translation>Il modem su %1 contiene altro rispetto a quanto inviato.</translation>
    </message>
    <message>
        <source>Nothing was saved.</source>
        <translation>Non è stato salvato nulla.</translation>
    </message>
    <message>
        <source>The modem holds what a configuration file cannot; nothing was saved:</source>
        <translation>Il modem contiene ciò che un file di configurazione non può contenere; non è stato salvato nulla:</translation>
    </message>
    <message>
        <source>Saved the configuration of the modem on %1 in %2.</source>
        <translation>Configurazione del modem su %1 salvata in %2.</translation>
    </message>
    <message>
        <source>The modem on %1 confirmed the 9 input records and the 20 phone-book positions, and holds them.</source>
        <translation>Il modem su %1 ha confermato i 9 record degli ingressi e le 20 posizioni della rubrica, e li contiene.</translation>
    </message>
    <message>
        <source>The modem on %1 confirmed the 9 input records and the 20 phone-book positions.</source>
        <translation>Il modem su %1 ha confermato i 9 record degli ingressi e le 20 posizioni della rubrica.</translation>
    </message>
    <message>
        <source>The modem on %1 holds what the file says.</source>
        <translation>Il modem su %1 contiene quanto indicato nel file.</translation>
    </message>
    <message>
        <source>A modem answers on %1.</source>
        <translation>Un modem risponde su %1.</translation>
    </message>
    <message>
        <source>No serial ports.</source>
        <translation>Nessuna porta seriale.</translation>
    </message>
    <message>
        <source>Com %1</source>
        <translation>Com %1</translation>
    </message>
    <message>
        <source>serial number </source>
        <translation>numero di serie </translation>
    </message>
    <message>
        <source>USB %1:%2</source>
        <translation>USB %1:%2</translation>
    </message>
    <message>
        <source>stable name </source>
        <translation>nome stabile </translation>
    </message>
    <message>
        <source>linked as </source>
        <translation>collegata come </translation>
    </message>
    <message>
        <source>missing: no device is there</source>
        <translation>assente: il dispositivo non c&apos;è</translation>
    </message>
    <message>
        <source>no access: </source>
        <translation>nessun accesso: </translation>
    </message>
    <message>
        <source>&quot;tavek-cli ports&quot; lists the device behind each Com number.</source>
        <translation>&quot;tavek-cli ports&quot; elenca il dispositivo di ogni numero Com.</translation>
    </message>
    <message>
        <source>To give your adapter a Com number, link its device as comN in ~/.config/tavek/ports (ln -s /dev/serial/by-id/... com3), or name the device itself: --port /dev/ttyUSB0. &quot;tavek-cli ports&quot; lists them.</source>
        <translation>Per dare un numero Com all&apos;adattatore, collegarne il dispositivo come comN in ~/.config/tavek/ports (ln -s /dev/serial/by-id/... com3), oppure indicare il dispositivo stesso: --port /dev/ttyUSB0. &quot;tavek-cli ports&quot; li elenca.</translation>
    </message>
</context>
<context>
    <name>TrafficFindBar</name>
    <message>
        <source>Find (Ctrl+F)</source>
        <translation>Trova (Ctrl+F)</translation>
    </message>
    <message>
        <source>Find in the modem traffic</source>
        <translation>Trova nel traffico del modem</translation>
    </message>
    <message>
        <source>Previous</source>
        <translation>Precedente</translation>
    </message>
    <message>
        <source>The match before this one (Shift+F3)</source>
        <translation>La corrispondenza precedente (Maiusc+F3)</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Successiva</translation>
    </message>
    <message>
        <source>The next match (F3)</source>
        <translation>La corrispondenza successiva (F3)</translation>
    </message>
    <message>
        <source>Not found</source>
        <translation>Non trovato</translation>
    </message>
    <message>
        <source>1 row</source>
        <translation>1 riga</translation>
    </message>
    <message>
        <source>%1 rows</source>
        <translation>%1 righe</translation>
    </message>
</context>
<context>
    <name>TrafficLogFile</name>
    <message>
        <source>it is a symbolic link, and a log is not written through one</source>
        <translation>è un collegamento simbolico, e un registro non viene scritto attraverso un collegamento</translation>
    </message>
</context>
<context>
    <name>TrafficPausedNote</name>
    <message>
        <source>Paused: the traffic is still recorded, and shown when you resume.</source>
        <translation>In pausa: il traffico continua a essere registrato e viene mostrato alla ripresa.</translation>
    </message>
    <message>
        <source>Paused: the traffic is still recorded; 1 new row is shown when you resume.</source>
        <translation>In pausa: il traffico continua a essere registrato; 1 nuova riga verrà mostrata alla ripresa.</translation>
    </message>
    <message>
        <source>Paused: the traffic is still recorded; %1 new rows are shown when you resume.</source>
        <translation>In pausa: il traffico continua a essere registrato; %1 nuove righe verranno mostrate alla ripresa.</translation>
    </message>
</context>
<context>
    <name>TrafficRecorder</name>
    <message>
        <source>The modem traffic log %1 could not be written: %2. The log stops here; the traffic window still shows the traffic.</source>
        <translation>Non è stato possibile scrivere il registro del traffico del modem %1: %2. Il registro si ferma qui; la finestra del traffico continua a mostrare il traffico.</translation>
    </message>
</context>
<context>
    <name>TrafficRowMaker</name>
    <message>
        <source>port opened: %1</source>
        <translation>porta aperta: %1</translation>
    </message>
    <message>
        <source>port closed: %1</source>
        <translation>porta chiusa: %1</translation>
    </message>
    <message>
        <source>port lost: %1</source>
        <translation>porta persa: %1</translation>
    </message>
    <message>
        <source>1 late character thrown away</source>
        <translation>1 carattere in ritardo scartato</translation>
    </message>
    <message>
        <source>%1 late characters thrown away</source>
        <translation>%1 caratteri in ritardo scartati</translation>
    </message>
    <message>
        <source>late result code %1: it belongs to an earlier command and confirms nothing</source>
        <translation>codice di risultato in ritardo %1: appartiene a un comando precedente e non conferma nulla</translation>
    </message>
    <message>
        <source>end of reply: complete</source>
        <translation>fine risposta: completa</translation>
    </message>
    <message>
        <source>end of reply: time-out</source>
        <translation>fine risposta: tempo scaduto</translation>
    </message>
    <message>
        <source>end of reply: port lost</source>
        <translation>fine risposta: porta persa</translation>
    </message>
</context>
<context>
    <name>TrafficWindow</name>
    <message>
        <source>Modem traffic</source>
        <translation>Traffico del modem</translation>
    </message>
    <message>
        <source>Hex</source>
        <translation>Esadecimale</translation>
    </message>
    <message>
        <source>Shows the bytes sent and received in hex</source>
        <translation>Mostra in esadecimale i byte inviati e ricevuti</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pausa</translation>
    </message>
    <message>
        <source>Holds the view still; the traffic is still recorded</source>
        <translation>Ferma la vista; il traffico continua a essere registrato</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copia</translation>
    </message>
    <message>
        <source>Copies the chosen text, or every row when none is chosen</source>
        <translation>Copia il testo selezionato, o tutte le righe se non è selezionato nulla</translation>
    </message>
    <message>
        <source>Save as…</source>
        <translation>Salva come…</translation>
    </message>
    <message>
        <source>Saves every row as plain text</source>
        <translation>Salva tutte le righe come testo semplice</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Svuota</translation>
    </message>
    <message>
        <source>Save the modem traffic</source>
        <translation>Salva il traffico del modem</translation>
    </message>
    <message>
        <source>modem-traffic.txt</source>
        <translation>traffico-modem.txt</translation>
    </message>
    <message>
        <source>Text files (*.txt);;All files (*)</source>
        <translation>File di testo (*.txt);;Tutti i file (*)</translation>
    </message>
    <message>
        <source>Resume</source>
        <translation>Riprendi</translation>
    </message>
    <message>
        <source>Modem traffic (paused)</source>
        <translation>Traffico del modem (in pausa)</translation>
    </message>
    <message>
        <source>The modem traffic could not be saved as %1: %2.</source>
        <translation>Non è stato possibile salvare il traffico del modem come %1: %2.</translation>
    </message>
</context>
<context>
    <name>Verification</name>
    <message>
        <source>an empty message</source>
        <translation>un messaggio vuoto</translation>
    </message>
    <message>
        <source>no delay</source>
        <translation>nessun ritardo</translation>
    </message>
    <message>
        <source>%1 ms</source>
        <translation>%1 ms</translation>
    </message>
    <message>
        <source>The inputs read back were not whole: what the modem holds is not known for every field.</source>
        <translation>Gli ingressi riletti non erano completi: il contenuto del modem non è noto per ogni campo.</translation>
    </message>
    <message>
        <source>Input %1, %2: sent %3, the modem holds %4.</source>
        <translation>Ingresso %1, %2: inviato %3, il modem contiene %4.</translation>
    </message>
    <message>
        <source>Active</source>
        <translation>Attivo</translation>
    </message>
    <message>
        <source>Disactive</source>
        <translation>Disattivo</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Stato</translation>
    </message>
    <message>
        <source>delay</source>
        <translation>ritardo</translation>
    </message>
    <message>
        <source>N. Open</source>
        <translation>N. Aperto</translation>
    </message>
    <message>
        <source>N. Closed</source>
        <translation>N. Chiuso</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Contatto</translation>
    </message>
    <message>
        <source>Single</source>
        <translation>Singolo</translation>
    </message>
    <message>
        <source>Double</source>
        <translation>Doppio</translation>
    </message>
    <message>
        <source>Bit</source>
        <translation>Bit</translation>
    </message>
    <message>
        <source>Single message</source>
        <translation>Messaggio singolo</translation>
    </message>
    <message>
        <source>Double message</source>
        <translation>Messaggio doppio</translation>
    </message>
    <message>
        <source>nothing</source>
        <translation>niente</translation>
    </message>
    <message>
        <source>The phone book read back was not whole: what the modem holds is not known for every position.</source>
        <translation>La rubrica riletta non era completa: il contenuto del modem non è noto per ogni posizione.</translation>
    </message>
    <message>
        <source>Phone position %1: sent %2, the modem holds %3.</source>
        <translation>Posizione %1 della rubrica: inviato %2, il modem contiene %3.</translation>
    </message>
</context>
<context>
    <name>VersionText</name>
    <message>
        <source>Configuration program for GSM Modems Mod. KVZ</source>
        <translation>Programma di configurazione per modem GSM mod. KVZ</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>tavek: cannot write the log %1: %2</source>
        <translation>tavek: impossibile scrivere il registro %1: %2</translation>
    </message>
</context>
</TS>
