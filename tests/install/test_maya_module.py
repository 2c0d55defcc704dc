"""`cmake --install` lays out a Maya module: read back as Maya reads it, every entry's folder gives the
analyzer binary its Maya's interpreter line imports, on 2.7 and on every 3.x of the matrix."""
import glob
import os
import re
import subprocess
import sys

import pytest

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(REPO, "tools"))
import maya_module  # noqa: E402

DOUBLES = os.path.join(REPO, "tests", "doubles")
BUILD = os.environ.get("VANALYZER_BINARY_DIR") or os.path.join(REPO, "build", "release")
MATRIX = ["2.7", "3.7", "3.8", "3.9", "3.10", "3.11", "3.12", "3.13"]
# the Python line each Maya embeds
MAYA_PYTHON = {"2016": "2.7", "2017": "2.7", "2018": "2.7", "2019": "2.7", "2020": "2.7",
               "2022": "3.7", "2023": "3.9", "2024": "3.10", "2025": "3.11", "2026": "3.11",
               "2030": "3.13"}  # a Maya newer than the build: the Stable-ABI entry serves it unchanged


def interpreter(minor):
    """The newest pyenv interpreter of that line; a missing one of the matrix is an error."""
    root = os.environ.get("PYENV_ROOT") or os.path.expanduser("~/.pyenv")
    found = sorted(glob.glob(os.path.join(root, "versions", minor + ".*", "bin", "python")),
                   key=lambda path: [int(part) for part in re.findall(r"\d+", path.split("versions")[-1])])
    assert found, "Python %s of the matrix is missing from %s/versions" % (minor, root)
    return found[-1]


@pytest.fixture(scope="module")
def installed(tmp_path_factory):
    if not os.path.isfile(os.path.join(BUILD, "CMakeCache.txt")):
        message = "no configured build at %s" % BUILD
        if os.environ.get("CI") == "true":
            pytest.fail(message)
        pytest.skip(message)
    prefix = str(tmp_path_factory.mktemp("maya-modules"))
    subprocess.run(["cmake", "--install", BUILD, "--prefix", prefix], check=True, stdout=subprocess.PIPE)
    return prefix


def test_only_the_module_file_and_the_analyzer_are_installed(installed):
    files = sorted(os.path.relpath(os.path.join(folder, name), installed)
                   for folder, _, names in os.walk(installed) for name in names)
    assert files == ["vanalyzer.mod", "vanalyzer/python2.7/vanalyzer.so", "vanalyzer/python3/vanalyzer.abi3.so"]


def test_each_maya_finds_its_binary_and_every_interpreter_of_its_line_imports_it(installed):
    entries = maya_module.read(os.path.join(installed, "vanalyzer.mod"))
    assert [entry.conditions.get("MAYAVERSION") for entry in entries] == ["2016", "2017", "2018", "2019", "2020", None]
    assert set(entry.name for entry in entries) == {"vanalyzer"}
    module = os.path.join(installed, "vanalyzer")
    imported = set()
    for maya, line in sorted(MAYA_PYTHON.items()):
        folders = maya_module.python_path(entries, maya, "linux")
        # a 2.7 Maya takes the entry without a version too; 2.7 never loads the .abi3.so found there
        expected = ["python2.7", "python3"] if line == "2.7" else ["python3"]
        assert folders == [os.path.join(module, name) for name in expected], maya
        assert maya_module.python_path(entries, maya, "win64") == []
        binary = "vanalyzer.so" if line == "2.7" else "vanalyzer.abi3.so"
        assert os.listdir(folders[0]) == [binary], maya
        for minor in (["2.7"] if line == "2.7" else [m for m in MATRIX if m != "2.7"]):
            if (folders[0], minor) in imported:  # the Mayas of one line share their folder
                continue
            imported.add((folders[0], minor))
            # the service's own modules (vout, vfile, vutils) and maya.cmds, which the analyzer imports,
            # stand in by the behaviour tests' doubles, after the folders the module names
            done = subprocess.run([interpreter(minor), "-E", "-s", "-c",
                                   "import sys; sys.path[:0] = sys.argv[2:]; sys.path.append(sys.argv[1]); "
                                   "import vanalyzer; print(vanalyzer.__file__); print(callable(vanalyzer.runMain))",
                                   DOUBLES] + folders,
                                  stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=60)
            out = done.stdout.decode("utf-8", "replace")
            assert done.returncode == 0, (maya, minor, out)
            assert out.split() == [os.path.join(folders[0], binary), "True"], (maya, minor, out)


@pytest.mark.parametrize("line, expected", [
    ("PYTHONPATH+:=python3", ["<root>/python3"]),
    ("PYTHONPATH +:= a\nPYTHONPATH+:=b", ["<root>/a", "<root>/b"]),
    ("PYTHONPATH:=a\nPYTHONPATH:=b", ["<root>/b"]),
    ("PYTHONPATH+=/abs/lib", ["/abs/lib"]),
    ("scripts: ../shared/scripts", ["<mod>/shared/scripts"]),
])
def test_the_reader_follows_the_module_syntax(tmp_path, line, expected):
    (tmp_path / "shared" / "scripts").mkdir(parents=True)
    (tmp_path / "tool" / "scripts").mkdir(parents=True)
    mod = tmp_path / "tool.mod"
    mod.write_text("+ MAYAVERSION:2024 PLATFORM:linux tool 1.0 tool\n%s\n"
                   "+ MAYAVERSION:2025 tool 1.0 /elsewhere\nPYTHONPATH+:=x\n" % line)
    entries = maya_module.read(str(mod))
    root = str(tmp_path / "tool")
    folders = [folder.replace(root, "<root>").replace(str(tmp_path), "<mod>")
               for folder in maya_module.python_path(entries, "2024", "linux")]
    if not line.startswith("scripts"):
        expected = expected + ["<root>/scripts"]  # a module's own scripts folder, when it has one
    assert folders == expected
    assert maya_module.python_path(entries, "2025", "mac") == ["/elsewhere/x"]
    assert maya_module.python_path(entries, "2023", "linux") == []


def test_the_reader_refuses_what_maya_would_not_take(tmp_path):
    for text in ("PYTHONPATH+:=x\n", "+ MAYAVERSION:2024 tool 1.0\n", "+ tool 1.0 here\nnonsense line\n"):
        mod = tmp_path / "bad.mod"
        mod.write_text(text)
        with pytest.raises(ValueError):
            maya_module.read(str(mod))
