# Sourced: finds the interpreter matrix under pyenv (2.7 and every 3.x from 3.7) into `matrix`,
# `python27` and `python3_oldest`; a missing interpreter is an error.
pyenv_root=${PYENV_ROOT:-$HOME/.pyenv}
matrix=()
for minor in 2.7 3.7 3.8 3.9 3.10 3.11 3.12 3.13; do
  found=$(ls -d "$pyenv_root"/versions/"$minor".*/bin/python 2>/dev/null | sort -V | tail -n 1)
  if [ -z "$found" ]; then
    echo "Python $minor is missing from $pyenv_root/versions (the build and the test matrix need it)" >&2
    exit 2
  fi
  matrix+=("$found")
done
python27=${matrix[0]}
python3_oldest=${matrix[1]}
