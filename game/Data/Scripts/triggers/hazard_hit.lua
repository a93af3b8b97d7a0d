-- A hammer head or a cannon ball touched something that may be hit.
hazard_hits = (hazard_hits or 0) + 1
