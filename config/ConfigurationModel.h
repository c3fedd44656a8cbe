#pragma once

#include "ModemConfiguration.h"

#include <QObject>

// The configuration a face shows and edits: the window's widgets follow it
// and write what the user changes into it; a read replaces parts of it; Open
// and Save read and write it; tavek-cli keeps one in memory. It says which
// part changed, so that a widget redraws only itself.
class ConfigurationModel : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    const ModemConfiguration& configuration() const { return configuration_; }
    const InputsConfig& inputs() const { return configuration_.inputs; }
    const PhoneBook& phoneBook() const { return configuration_.phoneBook; }
    const InputConfig& input(int n) const { return configuration_.inputs.at(n - 1); }
    const QString& number(int position) const { return configuration_.phoneBook.at(position - 1); }

    void setConfiguration(const ModemConfiguration& configuration);
    void setInputs(const InputsConfig& inputs);
    void setPhoneBook(const PhoneBook& phoneBook);
    // Inputs are numbered 1 to 3, positions 1 to 20; others change nothing.
    void setInput(int n, const InputConfig& input);
    void setNumber(int position, const QString& number);

signals:
    void inputChanged(int n);
    void numberChanged(int position);

private:
    ModemConfiguration configuration_;
};
