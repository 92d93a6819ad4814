// Dremlot's forms: the main window and its dialogs, created hidden in their
// start-up order (several of them change the main window while they are
// created) and living until the program ends.
#pragma once

#include <memory>

class Database;
class TCarDataForm;

class DremlotForms {
public:
    explicit DremlotForms(Database& db);
    ~DremlotForms();
    DremlotForms(const DremlotForms&) = delete;
    DremlotForms& operator=(const DremlotForms&) = delete;

    TCarDataForm& carData() const { return *carData_; }

private:
    std::unique_ptr<TCarDataForm> carData_;
};
