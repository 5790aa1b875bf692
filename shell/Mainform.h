#pragma once
// The main window: it owns the open calculation, holds the input and result
// windows in its area, the menus and toolbar made from the command table
// (Comandi.h) and the status bar, and runs the start-up.
#include "Avvio.h"
#include "ConteggioAperto.h"

#include <QMainWindow>
#include <QPointer>
#include <QSizeF>
#include <functional>
#include <memory>

class ElencoFile;
class FinestraFiglia;
class QLabel;
class QMdiArea;
class QTimer;
class frmAttesa;
class frmInfo;

class Mainform : public QMainWindow {
    Q_OBJECT
public:
    explicit Mainform(QWidget* genitore = nullptr);
    ~Mainform() override;

    // The start-up sequence: sizes the frame to the screen, shows the title
    // window, prepares the document and the archive folder (chosen by
    // ScegliArchivio; a new one gets the example) and loads the file named on
    // the command line or, without one or when it fails, the example.
    void Avvia(const RigaComando& riga = {});

    // --- Shell state -------------------------------------------------------
    // The folder of the calculation files, absolute.
    QString PercorsoArchivio() const { return percorsoArchivio_; }
    // The folder of the open calculation's file, where it is saved: the
    // archive unless it was opened by path from elsewhere.
    QString CartellaConteggio() const
    {
        return conteggio_.Cartella().isEmpty() ? percorsoArchivio_ : conteggio_.Cartella();
    }
    // The open calculation, which every window works on.
    ConteggioAperto& Conteggio() { return conteggio_; }
    // Name of the child window loaded last ("frmTitolo", "frmBox", ...).
    const QString& FinestraCorrente() const { return finestraCorrente_; }
    void setFinestraCorrente(const QString& nome) { finestraCorrente_ = nome; }
    // "I" to "IV" for quarters 1 to 4.
    static QString NumeriRomani(int trimestre);
    // The open child window named FinestraCorrente, nullptr for the title
    // window or none.
    FinestraFiglia* FinestraFigliaCorrente() const;
    // The open window (child or title) with that name, or nullptr.
    QWidget* FinestraAperta(const QString& nome) const;
    QMdiArea* AreaFinestre() const { return area_; }
    ElencoFile* File1() const { return file1_; }
    QLabel* Picture2() const { return picture2_; }

    // --- Operations used by the commands and by the other windows ----------
    // Enables (after a calculation is loaded) or disables the menus and the
    // toolbar buttons that need a calculation.
    void AbilitaComandi(bool abilita);
    // Shows the title window inside the frame (or brings it to the front).
    void MostraTitolo();
    // The wait window; the frame is disabled while it is up.
    void MostraAttesa();
    void NascondiAttesa();
    bool AttesaVisibile() const;
    // Runs f with the wait window up, and takes it down however f ends.
    void ConAttesa(const std::function<void()>& f);
    // The information window, centred on the frame, which it disables.
    void MostraInfo();
    // Closes every child window, title window included.
    void ScaricaFinestre();
    // Opens a child window by name: created through the factory, recorded as
    // FinestraCorrente, laid out and filled. nullptr when the program has no
    // such window.
    FinestraFiglia* ApriFinestra(const QString& nome);
    // The same with the wait window up while the window opens.
    void ApriConAttesa(const QString& nome);
    // Loads a calculation of the archive: closes the child windows, reads the
    // file and, when it is sound, shows the title window with every command
    // enabled. A failure is shown; the calculation open before stays open.
    bool CaricaConteggio(const QString& nome);
    // Loads the calculation file at `percorso` ("…/Rossi.ccc"), in the archive
    // or elsewhere; it is saved where it is. Fails as CaricaConteggio does, and
    // also for a path that does not name a ".ccc" file.
    bool ApriFile(const QString& percorso);
    // What follows loading a calculation file: no child window but the title,
    // every command enabled.
    void DopoCaricamento();
    // Runs a command of the command table by its key ("nuovo", "apri", ...,
    // and the keys of the child windows' toolbars "input", "matematico",
    // "italia") as its toolbar button does; an unknown key does nothing.
    // Errors are reported, never thrown.
    void EseguiComando(const QString& chiave);
    // Runs one command: commits the field being edited, catches every error
    // and shows it naming the command, and always takes the wait window down
    // again.
    void Esegui(const QString& comando, const std::function<void()>& f);
    // Asks whether to save unsaved changes; false when the user cancels.
    bool ChiediSalvataggio();
    // "Esci senza salvare": closes the program without the question.
    void EsciSenzaSalvare();
    // Lays out the current window again for the frame's present size.
    void DisponiFinestraCorrente();
    // The outer size of the frame, in twips.
    QSizeF MisuraTwips() const;

    // The folder of the program, from which the start-up finds the archive,
    // the example and help/ (for tests; takes effect at the next start-up).
    void ImpostaCartellaProgramma(const QString& cartella)
    {
        cartellaProgramma_ = cartella;
        percorsoArchivio_ = cartella + QStringLiteral("/Archivio");
    }

    // Replaces the window factory (for tests); by default CreaFinestra on the
    // open calculation.
    using Fabbrica = std::function<FinestraFiglia*(const QString&)>;
    void ImpostaFabbrica(Fabbrica f) { fabbrica_ = std::move(f); }

    // True for the windows that have a report and a copy.
    static bool HaTabella(const QString& finestra);

    // Smallest outer size of the frame, in twips.
    static constexpr double LarghezzaMinima = 15360;
    static constexpr double AltezzaMinima = 8520;

    // --- Commands carried out by other parts of the program ----------------
    // The command table calls them; failures are thrown and reported by the
    // command runner. Tests replace them.
    virtual void NuovoConteggio();                          // new-calculation dialog
    virtual void ApriConteggio();                           // archive browser
    virtual void SalvaConteggio();                          // write the document into its file
    virtual void ApriManuale();                             // the PDF manual "manuale"
    virtual void StampaTabella(const QString& finestra);    // report of that window
    virtual void CopiaTabella(const QString& finestra);     // clipboard copy of that window
    virtual void ImpostaStampante();                        // printer choice dialog
    virtual bool ConteggioModificato() const;               // unsaved changes in the document

protected:
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

    virtual void CaricaEsempio();                           // start-up: load "Esempio"
    virtual void RilasciaDatabase();                        // exit: release the open file

private:
    void CreaStatusBar();
    void Timer1_Timer();
    // The title and the status bar's name panel, for the calculation open now.
    void MostraConteggio();
    // Brings the current window to the front and makes it the area's active one.
    void AttivaCorrente();
    bool CaricaDa(const QString& cartella, const QString& nome);
    void ComandoFiglia(QObject* mittente, const QString& chiave);
    void ChiudiFinestra(QWidget* w);

    ConteggioAperto conteggio_;

    QMdiArea* area_ = nullptr;
    QTimer* timer1_ = nullptr;
    QLabel* pannelli_[3] = {};
    ElencoFile* file1_ = nullptr;
    QLabel* picture2_ = nullptr;
    QPointer<frmAttesa> attesa_;
    QPointer<frmInfo> info_;
    QString cartellaProgramma_;
    QString cartellaDati_;        // holds Archivio/Esempio.ccc and help/ as built or installed
    QString percorsoArchivio_;
    QString finestraCorrente_;
    Fabbrica fabbrica_;
    int riordino_ = 0;
    bool esciSenzaSalvare_ = false;
};
