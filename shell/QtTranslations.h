#pragma once

class QCoreApplication;
class QTranslator;

// Qt's own texts (the buttons of message boxes, the file, print, page
// set-up and colour dialogs, the print preview's toolbar) in Japanese, so
// the whole interface speaks the language of the program's own texts.
class QtTranslations {
public:
    // The installed translator, owned by the application; null when Qt's
    // Japanese translations are not on this machine.
    static QTranslator* InstallJapanese(QCoreApplication& application);
};
