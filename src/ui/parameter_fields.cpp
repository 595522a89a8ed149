#include "ui/parameter_fields.h"

#include <utility>

#include "engine/text_to_number.h"

namespace quorvel {

std::array<QLineEdit*, 19> ParameterFields::all() const {
  std::array<QLineEdit*, 19> fields{transect_length, wind_force, carbon_fraction, run_count};
  std::size_t next = 4;
  for (int stage = first_stage; stage <= last_stage; ++stage) {
    for (int group = first_group; group <= last_group; ++group) {
      fields[next++] = density.at(stage, group);
    }
  }
  return fields;
}

SimulationParameters read_parameters(const ParameterFields& fields) {
  SimulationParameters parameters;
  // Each value is checked by the Start's own rules as soon as it is read; the values not yet
  // read keep their defaults, which pass, so the field named is the first bad one in reading
  // order.
  const auto read = [&](QLineEdit* field, Parameter parameter, auto parse, auto& value,
                        int stage = 0, int group = 0) {
    const std::string text = field->text().toStdString();
    try {
      value = parse(text);
      check_parameters(parameters);
    } catch (const Refused& refused) {
      Refusal refusal = refused.refusal();
      refusal.parameter = parameter;
      refusal.stage = stage;
      refusal.group = group;
      refusal.found = text;
      throw FieldRefused(field, std::move(refusal));
    }
  };
  read(fields.transect_length, Parameter::transect_length, text_to_int16,
       parameters.transect_length);
  read(fields.wind_force, Parameter::wind_force, text_to_int16, parameters.wind_force);
  for (int stage = first_stage; stage <= last_stage; ++stage) {
    for (int group = first_group; group <= last_group; ++group) {
      // A greyed grid has a coefficients table in its place: what it holds is not used.
      if (!fields.density.at(stage, group)->isEnabled()) continue;
      read(fields.density.at(stage, group), Parameter::density, text_to_single,
           parameters.density.at(stage, group), stage, group);
    }
  }
  read(fields.carbon_fraction, Parameter::carbon_fraction, text_to_single,
       parameters.carbon_fraction);
  read(fields.run_count, Parameter::run_count, text_to_int16, parameters.run_count);
  return parameters;
}

}  // namespace quorvel
