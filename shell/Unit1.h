// The main window: the four run parameters, START and CLEAR, and an output
// area that the program leaves as it is.
#pragma once

#include "form.h"

class TForm1 : public TForm {
  public:
    TForm1();

    TGroupBox* GroupBox1 = Bind<TGroupBox>("GroupBox1");
    TLabel* Label1 = Bind<TLabel>("Label1");
    TEdit* NA = Bind<TEdit>("NA");
    TLabel* Label2 = Bind<TLabel>("Label2");
    TEdit* RH = Bind<TEdit>("RH");
    TLabel* Label3 = Bind<TLabel>("Label3");
    TEdit* MA = Bind<TEdit>("MA");
    TLabel* Label4 = Bind<TLabel>("Label4");
    TEdit* q = Bind<TEdit>("q");
    TButton* Button1 = Bind<TButton>("Button1");
    TButton* Button2 = Bind<TButton>("Button2");
    TGroupBox* GroupBox2 = Bind<TGroupBox>("GroupBox2");
    TMemo* Memo1 = Bind<TMemo>("Memo1");
    TImage* Image1 = Bind<TImage>("Image1");

    void Button1Click(TObject* Sender);
};

extern TForm1* Form1;
