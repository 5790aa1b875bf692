#pragma once
// A hidden list of the ordinary files of one folder, sorted by name
// (hidden and system files left out). Setting Path refills it.
#include <QListWidget>

class ElencoFile : public QListWidget {
    Q_OBJECT
    Q_PROPERTY(QString Path READ Path WRITE setPath)
public:
    explicit ElencoFile(QWidget* genitore = nullptr);

    QString Path() const { return path_; }
    void setPath(const QString& cartella);

    // The file names currently listed.
    QStringList Nomi() const;

    // Rereads the folder.
    void Refresh();

private:
    QString path_;
};
