# A small capital budgeting problem: binary projects, an integer count of crews, a fixed and a negative column.
set P;
param value{P};
param cost{P};
var build{P} binary;
var crews integer >= 0, <= 10;
var overtime <= 0, >= -4;
var base = 2;
maximize worth "net worth": sum{p in P} value[p] * build[p] - 3 * crews + overtime + base;
s.t. budget: sum{p in P} cost[p] * build[p] <= 14 + base;
s.t. staffing: 2 * crews - overtime >= sum{p in P} build[p] + 0.5;
data;
param : P : value cost :=
  alpha     16   5
  'beta 2'  22   7
  gamma     12   4
  delta      8   3;
end;
