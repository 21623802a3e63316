// The floor for the companion's start-up: a process that only starts a Qt Core application and
// exits.
#include <QCoreApplication>

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  return 0;
}
