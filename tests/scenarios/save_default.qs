# The parameter report of the default experiment, as the program starts and as the first
# Simulate applies the forms' initial texts. Before anything is applied the model holds no
# species: the report ends after their number.
dialog start.par
menu mnuSave
model SpeciesCount
menu mnuSimulate
model SpeciesCount
dialog default.par
menu mnuSave
