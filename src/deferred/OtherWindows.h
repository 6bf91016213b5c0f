// The windows after the main window, built from the module.
#pragma once

#include "DeferredModule.h"

#include <memory>
#include <vector>

class TForm2;
class TForm3;
class TForm5;
class TForm7;
class TForm10;

class OtherWindows final : public DeferredWindows
{
public:
    /// Creates the windows hidden in their fixed order and wires them to `main`.
    OtherWindows(TForm1 &main, TForm10 *reminder, const std::function<void(QWidget *)> &created);
    ~OtherWindows() override;

    TForm8 *settingsWindow() const override { return m_form8; }
    void takeDueEvents(DueQueue &&queue) override;
    void scanDueEvents() override;

private:
    template<class Window>
    Window *create(const std::function<void(QWidget *)> &created);
    void wireWindows();
    void wireApplications();

    TForm1 *m_form1;
    std::vector<std::unique_ptr<QWidget>> m_windows; // in creation order
    TForm2 *m_form2 = nullptr;
    TForm3 *m_form3 = nullptr;
    TForm5 *m_form5 = nullptr;
    TForm7 *m_form7 = nullptr;
    TForm8 *m_form8 = nullptr;
    TForm10 *m_form10 = nullptr;
};
