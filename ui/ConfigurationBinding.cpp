#include "ConfigurationBinding.h"

#include "ConfigurationModel.h"
#include "InputPanel.h"
#include "PhoneGrid.h"

ConfigurationBinding::ConfigurationBinding(ConfigurationModel& model,
                                           const std::array<InputPanel*, 3>& panels,
                                           PhoneGrid& grid, QObject* parent)
    : QObject(parent), model_(model), panels_(panels), grid_(grid) {
    for (int n = 1; n <= InputCount; ++n) {
        connect(panels_[n - 1], &InputPanel::edited, this, [this, n] {
            if (!showing_)
                model_.setInput(n, panels_[n - 1]->config());
        });
        showInput(n);
    }
    connect(&grid_, &PhoneGrid::numberTyped, this, [this](int position) {
        if (!showing_)
            model_.setNumber(position, grid_.cellText(position, PhoneGrid::NumberColumn));
    });
    for (int p = 1; p <= PhoneBookSize; ++p)
        showNumber(p);
    connect(&model_, &ConfigurationModel::inputChanged, this, &ConfigurationBinding::showInput);
    connect(&model_, &ConfigurationModel::numberChanged, this, &ConfigurationBinding::showNumber);
}

void ConfigurationBinding::showInput(int n) {
    InputPanel& panel = *panels_[n - 1];
    if (panel.config() == model_.input(n))
        return;
    showing_ = true;
    panel.setConfig(model_.input(n));
    showing_ = false;
}

void ConfigurationBinding::showNumber(int position) {
    if (grid_.cellText(position, PhoneGrid::NumberColumn) == model_.number(position))
        return;
    showing_ = true;
    grid_.setCellText(position, PhoneGrid::NumberColumn, model_.number(position));
    showing_ = false;
}
