#include "Unit1.h"
#include "application.h"

// Errors that escape start-up or the event loop are shown, and the program
// then ends normally.
int main() {
    try {
        Application->Initialize();
        Application->CreateForm(Form1);
        Application->Run();
    } catch (const Exception& error) {
        Application->ShowException(error);
    } catch (...) {
        Application->ShowException(Exception(String()));
    }
    return 0;
}
