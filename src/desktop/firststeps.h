#ifndef STRATOMARK_FIRSTSTEPS_H
#define STRATOMARK_FIRSTSTEPS_H

#include <QLabel>
#include <QString>

// What the table area says while no document is open: the ways to one, and the demo's monthly
// files when they are installed beside the program.
class FirstSteps : public QLabel
{
    Q_OBJECT

public:
    explicit FirstSteps(QWidget* parent = nullptr);
    // The demo's folder, or nothing when the program runs without one.
    static QString demoFolder();

signals:
    void demoChosen(const QString& folder);
};

#endif
