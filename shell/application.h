// The application object: start-up, the main window, the event loop and the
// display of errors.
#pragma once

#include <memory>
#include <vector>

#include "exception.h"
#include "form.h"

class QApplication;

class TApplication {
  public:
    TApplication();
    ~TApplication();

    void Initialize();

    // Constructs the form; the first one created becomes the main window.
    template <class Form>
    void CreateForm(Form*& reference) {
        auto form = std::make_unique<Form>();
        reference = form.get();
        forms_.push_back(std::move(form));
    }

    // Shows the main window and runs the event loop until it is closed.
    void Run();

    // Shows the error's message in a modal message box.
    void ShowException(const Exception& error);

  private:
    std::unique_ptr<QApplication> qt_;
    std::vector<std::unique_ptr<TForm>> forms_;
};

extern TApplication* const Application;
