import pytest

import tvb


@pytest.fixture
def db():
    with tvb.Database() as database:
        yield database


@pytest.fixture
def transport(db):
    """Plants i, markets j, the distance d(i,j), a shipment variable x(i,j) and a supply equation over i."""
    i = db.add_set("i", records={"seattle": "on the coast", "san-diego": ""}, text="canning plants")
    j = db.add_set("j", records=["new-york", "chicago", "topeka"], text="markets")
    db.add_parameter("d", [i, j], text="distance in thousands of miles", records={
        ("seattle", "new-york"): 2.5, ("seattle", "chicago"): 1.7, ("seattle", "topeka"): 1.8,
        ("san-diego", "new-york"): 2.5, ("san-diego", "chicago"): 1.8, ("san-diego", "topeka"): 1.4})
    db.add_variable("x", [i, j], type="positive", text="shipment quantities",
                    records={("seattle", "chicago"): {"level": 300, "marginal": tvb.EPS}})
    db.add_equation("supply", [i], type="le", records={"seattle": (350, 0, float("-inf"), 350, 1)})
    return db
