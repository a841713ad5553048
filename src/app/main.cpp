#include <QApplication>

// A placeholder until the start sequence is built.
int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    return 0;
}
