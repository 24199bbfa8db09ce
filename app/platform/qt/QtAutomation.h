#pragma once
// Synthetic input for the headless driver: Qt mouse and key events sent to the canvas and
// to the native control under the pointer or with the focus, as the window system would.

#include "app/platform/Automation.h"

class CQtMainWindow;
class QWidget;

class CQtAutomation : public IAutomation {
public:
    explicit CQtAutomation(CQtMainWindow& window) : window_(window) {}

    void MouseMove(int x, int y) override;
    void MouseDown(int x, int y) override;
    void MouseUp(int x, int y) override;
    void Wheel(int x, int y, int steps) override;
    bool Focus(const std::string& name, std::string& error) override;
    bool TypeText(const std::string& utf8, std::string& error) override;
    bool Key(const std::string& chord, std::string& error) override;
    bool Select(const std::string& name, const std::string& row, std::string& error) override;
    bool ChooseMenu(const std::string& text, std::string& error) override;
    bool ResizeWindow(int width, int height, std::string& error) override;
    bool DropFiles(const std::vector<std::string>& paths, std::string& error) override;
    void CloseWindow() override;
    bool SaveScreenshot(const std::string& file, const std::vector<ShownDialog>& dialogs,
                        std::string& error) override;

private:
    static constexpr int kLargestSide = 16384;
    void SendMouse(int type, int x, int y);
    QWidget* FindControl(const std::string& name, std::string& error) const;

    CQtMainWindow& window_;
    bool buttonDown_ = false;
    QWidget* grabber_ = nullptr; // the widget that received the press, as an implicit grab
};
