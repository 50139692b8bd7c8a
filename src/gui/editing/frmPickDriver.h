#pragma once

#include <QDialog>

#include <array>

class QListWidget;
class QPushButton;

namespace scorewell {
class League;
} // namespace scorewell

namespace scorewell::gui {

// Picks a driver of the league by name.
class frmPickDriver : public QDialog {
    Q_OBJECT

public:
    explicit frmPickDriver(QWidget* parent = nullptr);

    // Fills the list with the league's drivers; "[none]" when it has none.
    void setDatabase(League* league);
    bool Cancelled() const { return cancelled_; }
    // The entry chosen with Select.
    QString Choice() const;

    QListWidget* lstDrivers = nullptr;
    std::array<QPushButton*, 2> cmdButton{};

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Select();

    bool cancelled_ = true;
};

} // namespace scorewell::gui
