SELECT * FROM t WHERE a = ? AND b = '?' -- ?
