// Dremlot's forms: the main window and its dialogs, created hidden in their
// start-up order (several of them change the main window while they are
// created) and living until the program ends.
#pragma once

#include <memory>

class Database;
class RecordBook;
class TCarDataForm;

class DremlotForms {
public:
    explicit DremlotForms(Database& db);
    ~DremlotForms();
    DremlotForms(const DremlotForms&) = delete;
    DremlotForms& operator=(const DremlotForms&) = delete;

    RecordBook& book() const { return *book_; }
    TCarDataForm& carData() const { return *carData_; }

private:
    std::unique_ptr<RecordBook> book_;
    std::unique_ptr<TCarDataForm> carData_;
};
