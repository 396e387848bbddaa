"""tvb: in-memory databases of the data of algebraic optimisation models, from Python.

    import tvb
    with tvb.Database() as db:
        i = db.add_set("i", records=["seattle", "san-diego"])
        d = db.add_parameter("d", [i], records={"seattle": 2.5})
        d["san-diego"] = 1.8
        d.to_pandas()

Models: tvb.Model.from_mathprog("transport.mod"), tvb.Database.from_model(model), db.update(...),
db.solve("CLP"); many scenarios at once, also on a Dask cluster: tvb.scenarios.run.

A thin layer over libtvbcclib.so and librunddclib.so (see _library for where they are found). The special
values are the floats
tvb.UNDEF, tvb.NA (a NaN), tvb.EPS and the infinities; failures raise tvb.Error with the library's message."""
from .database import Database
from .errors import DroppedRecordsWarning, Error, NotFoundError
from .model import Model, SolveResult
from . import scenarios
from .special_values import EPS, NA, UNDEF
from .symbol import Symbol, Values

__all__ = ["Database", "Symbol", "Values", "Model", "SolveResult", "Error", "NotFoundError", "DroppedRecordsWarning",
           "UNDEF", "NA", "EPS"]
