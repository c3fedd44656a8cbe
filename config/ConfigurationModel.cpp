#include "ConfigurationModel.h"

void ConfigurationModel::setConfiguration(const ModemConfiguration& configuration) {
    setInputs(configuration.inputs);
    setPhoneBook(configuration.phoneBook);
}

void ConfigurationModel::setInputs(const InputsConfig& inputs) {
    for (int n = 1; n <= InputCount; ++n)
        setInput(n, inputs[n - 1]);
}

void ConfigurationModel::setPhoneBook(const PhoneBook& phoneBook) {
    for (int p = 1; p <= PhoneBookSize; ++p)
        setNumber(p, phoneBook[p - 1]);
}

void ConfigurationModel::setInput(int n, const InputConfig& input) {
    if (n < 1 || n > InputCount || configuration_.inputs[n - 1] == input)
        return;
    configuration_.inputs[n - 1] = input;
    emit inputChanged(n);
}

void ConfigurationModel::setNumber(int position, const QString& number) {
    if (position < 1 || position > PhoneBookSize ||
        configuration_.phoneBook[position - 1] == number)
        return;
    configuration_.phoneBook[position - 1] = number;
    emit numberChanged(position);
}
